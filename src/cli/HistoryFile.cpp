#include "cli/HistoryFile.h"

#include "support/ProgramPaths.h"

#include <charconv>

namespace quenmar::cli {

std::unique_ptr<store::TableDb> openHistoryFile() {
    const auto root = support::dataRoot();
    return root ? std::make_unique<store::TableDb>(*root) : std::make_unique<store::TableDb>();
}

int recordId(std::string_view word) {
    if (word.empty() || word.size() > 10 || word.find_first_not_of("0123456789") != std::string_view::npos) {
        return 0;
    }
    int value = 0;
    const auto result = std::from_chars(word.data(), word.data() + word.size(), value);
    return result.ec == std::errc{} && result.ptr == word.data() + word.size() ? value : 0;
}

} // namespace quenmar::cli
