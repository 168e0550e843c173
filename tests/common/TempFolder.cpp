#include "TempFolder.h"

#include <cstdlib>
#include <unistd.h>

namespace quenmar::test {

TempFolder::TempFolder() {
    std::error_code error;
    std::string pattern = (std::filesystem::temp_directory_path(error) / "quenmar-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) {
        m_path = pattern;
    }
}

TempFolder::~TempFolder() {
    if (m_path.empty()) {
        return;
    }
    // A test may have taken its own write permission away to make the folder read-only.
    std::error_code error;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, error);
    std::filesystem::remove_all(m_path, error);
}

} // namespace quenmar::test
