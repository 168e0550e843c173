#pragma once

#include "Files.h"
#include "base/Result.h"
#include "draws/DrawError.h"

#include <optional>
#include <string>

// Fixture pages of tests/data/draws, as bytes (in their GB encodings), and the parts of a
// fetch's result as the assertions read them.
namespace quenmar::test {

inline std::string fixtureBytes(const std::string& name) {
    return readFile(testDataFolder() / "draws" / name).value_or("");
}

/// The draw; nothing when the fetch gave none.
inline std::optional<draws::DrawResult> readDraw(const draws::FetchedDraw& fetched) {
    return fetched ? std::optional(*fetched) : std::nullopt;
}

/// The draw, or an empty record when the fetch gave none.
inline draws::DrawResult drawOf(const draws::FetchedDraw& fetched) {
    return fetched ? *fetched : draws::DrawResult{};
}

/// Why the fetch gave nothing; nothing when it gave a value.
template <typename T>
std::optional<draws::DrawFailure> failureOf(const Result<T, draws::DrawError>& result) {
    return result ? std::nullopt : std::optional(result.error().failure);
}

/// The error's detail; empty when the fetch gave a value.
template <typename T>
std::string detailOf(const Result<T, draws::DrawError>& result) {
    return result ? std::string() : result.error().detail;
}

} // namespace quenmar::test
