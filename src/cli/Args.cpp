#include "cli/Args.h"

namespace quenmar::cli {

const std::string* Args::value(const std::string& name) const {
    const auto it = values.find(name);
    return it == values.end() ? nullptr : &it->second;
}

} // namespace quenmar::cli
