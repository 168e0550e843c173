#include "cli/Args.h"

#include "base/Utf8.h"

#include <optional>

namespace quenmar::cli {

const std::string* Args::value(const std::string& name) const {
    const auto it = values.find(name);
    return it == values.end() ? nullptr : &it->second;
}

Result<Args, ArgsError> parseArgs(const std::vector<std::string>& words,
                                  const std::set<std::string>& valueOptions,
                                  const std::set<std::string>& flagOptions) {
    const auto failure = [](std::string message) {
        return Failure{ArgsError{std::move(message)}};
    };
    Args out;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (!utf8::isValid(word)) {
            return failure("参数不是有效的UTF-8文本");
        }
        if (word.size() > 2 && word.compare(0, 2, "--") == 0) {
            std::string name = word.substr(2);
            std::optional<std::string> inlineValue;
            if (const auto eq = name.find('='); eq != std::string::npos) {
                inlineValue = name.substr(eq + 1);
                name.erase(eq);
            }
            if (valueOptions.count(name) != 0) {
                if (!inlineValue) {
                    if (i + 1 >= words.size()) {
                        return failure("选项 --" + name + " 缺少取值");
                    }
                    inlineValue = words[++i];
                    if (!utf8::isValid(*inlineValue)) {
                        return failure("参数不是有效的UTF-8文本");
                    }
                }
                out.values[name] = *inlineValue;
            } else if (flagOptions.count(name) != 0 && !inlineValue) {
                out.flags.insert(name);
            } else {
                return failure("未知选项: --" + name);
            }
        } else {
            out.positional.push_back(word);
        }
    }
    return out;
}

} // namespace quenmar::cli
