#pragma once

#include <string>

// One fetched draw of one lottery, as found on a results page.
namespace quenmar::draws {

/// `status` of a draw read from a page the HTML parser accepted, also when no draw was found
/// in it. A fetch that gives no draw comes back as a DrawError instead (draws/DrawError.h).
inline constexpr int kStatusOk = 200;

struct DrawResult {
    std::string name;         // lottery name as shown, "快乐8"
    std::string issue;        // draw number as the page writes it, "2024123期"
    std::string date;         // draw date as the page writes it
    std::string mainNumbers;  // main-zone numbers in page order, no separators
    std::string extraNumbers; // extra-zone numbers (the blue ball), no separators
    std::string errorText;    // why the page gave nothing; empty in a draw read from a page
    int status = kStatusOk;

    bool operator==(const DrawResult&) const = default;
};

} // namespace quenmar::draws
