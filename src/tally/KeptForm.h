#pragma once

#include "draws/DrawResult.h"
#include "draws/Lottery.h"
#include "store/DrawStore.h"

#include <optional>
#include <string>
#include <string_view>

// A draw as a results page writes it (draws::DrawResult: "2024123期", numbers run together)
// and as it is kept (store::KeptDraw: the issue's digits, "YYYY-MM-DD", two-digit numbers
// separated by blanks), and the way from one to the other.
namespace quenmar::tally {

/// The issue's digits: "2024123期" gives "2024123"; empty when it has none.
std::string issueDigits(std::string_view pageIssue);

/// The first date in a page's text ("2024-05-01", " 2024-5-1 ", "2024/05/01(三)", "2024年5月1日")
/// as "YYYY-MM-DD"; nothing when there is none or it does not exist.
std::optional<std::string> keptDate(std::string_view pageDate);

/// The kept form of a draw read from a page of `lottery`; nothing when it has no numbers, no
/// issue digits or no date, which no check could use.
std::optional<store::KeptDraw> keptFormOf(const draws::Lottery& lottery, const draws::DrawResult& draw,
                                          double obtainedAt, std::string_view source);

/// The draw as the lottery's page would write it, for the lottery's rules to judge.
draws::DrawResult pageFormOf(const draws::Lottery& lottery, const store::KeptDraw& draw);

/// Why a draw in kept form cannot be one of its lottery's, in the words of the lottery's
/// rules; nothing when it can.
std::optional<std::string> keptDrawProblem(const draws::Lottery& lottery, const store::KeptDraw& draw);

} // namespace quenmar::tally
