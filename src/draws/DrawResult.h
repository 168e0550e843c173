#pragma once

#include <string>

// One fetched draw of one lottery, as found on a results page.
namespace quenmar::draws {

/// `status` of a page the HTML parser accepted, also when no draw was found in it.
inline constexpr int kStatusOk = 200;
/// `status` of a page the HTML parser refused (empty, oversized, nested too deeply).
inline constexpr int kStatusBodyError = -1;
/// `status` when no page arrived: no connection, a status other than 200, a stalled site.
inline constexpr int kStatusFetchError = -2;

struct DrawResult {
    std::string name;         // lottery name as shown, "快乐8"
    std::string issue;        // draw number as the page writes it, "2024123期"
    std::string date;         // draw date as the page writes it
    std::string mainNumbers;  // main-zone numbers in page order, no separators
    std::string extraNumbers; // extra-zone numbers (the blue ball), no separators
    std::string errorText;    // why the page gave nothing; never shown to the user
    int status = kStatusOk;

    bool operator==(const DrawResult&) const = default;
};

} // namespace quenmar::draws
