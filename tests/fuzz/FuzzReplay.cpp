// A fuzz target's inputs replayed without libFuzzer, so that every compiler and every test run
// exercises it: the corpus files and folders given on the command line as they are, then a
// fixed series of mutations of them (the same series on every run), steered by the tokens of
// the target's libFuzzer dictionary. Stops after the iteration count or the time budget,
// whichever comes first; a crash, a failed check of the target or a sanitizer report fails
// the test.
//   NAME_fuzz_replay [--iterations=N] [--seconds=S] [--prefix-bytes=N] [--dict=FILE] INPUT...
// --prefix-bytes=N runs every corpus input once more behind each leading byte 0..N-1, for
// targets whose first byte chooses what the rest is fed to.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

class Random {
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t next() {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 7;
        m_state ^= m_state << 17;
        return m_state;
    }
    std::size_t below(std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(next() % n); }

private:
    std::uint64_t m_state;
};

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// The tokens of a libFuzzer dictionary: one quoted string a line (an optional name= before
// it), with \\, \" and \xNN escapes; "#" starts a comment line.
std::vector<std::string> readDictionary(std::istream& in) {
    std::vector<std::string> tokens;
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t open = line.find('"');
        const std::size_t close = line.rfind('"');
        if (line.empty() || line[0] == '#' || open == std::string::npos || close <= open) {
            continue;
        }
        std::string token;
        for (std::size_t i = open + 1; i < close; ++i) {
            if (line[i] != '\\' || i + 1 >= close) {
                token += line[i];
            } else if (line[i + 1] == 'x' && i + 3 < close && hexDigit(line[i + 2]) >= 0 &&
                       hexDigit(line[i + 3]) >= 0) {
                token += static_cast<char>(hexDigit(line[i + 2]) * 16 + hexDigit(line[i + 3]));
                i += 3;
            } else {
                token += line[++i];
            }
        }
        tokens.push_back(token);
    }
    return tokens;
}

std::string mutate(std::string input, const std::vector<std::string>& tokens, Random& random) {
    const auto token = [&]() -> std::string_view {
        return tokens.empty() ? std::string_view("\xFF")
                              : std::string_view(tokens[random.below(tokens.size())]);
    };
    const int steps = 1 + static_cast<int>(random.below(8));
    for (int s = 0; s < steps; ++s) {
        const std::size_t pos = random.below(input.size() + 1);
        switch (random.below(6)) {
        case 0: // flip a byte
            if (!input.empty()) {
                input[random.below(input.size())] = static_cast<char>(random.next());
            }
            break;
        case 1: // insert a token
            input.insert(pos, token());
            break;
        case 2: // cut a piece out
            input.erase(pos, random.below(64));
            break;
        case 3: { // repeat a piece: deeper nesting, longer lists
            const std::string piece = input.substr(pos, random.below(48));
            const std::size_t times = random.below(400);
            std::string repeated;
            for (std::size_t i = 0; i < times && repeated.size() < 100000; ++i) {
                repeated += piece;
            }
            input.insert(pos, repeated);
            break;
        }
        case 4: // truncate
            input.resize(pos);
            break;
        default: { // one token many times over
            const std::string_view piece = token();
            const std::size_t times = random.below(3000);
            std::string repeated;
            for (std::size_t i = 0; i < times; ++i) {
                repeated += piece;
            }
            input.insert(pos, repeated);
            break;
        }
        }
    }
    return input;
}

bool readFile(const std::filesystem::path& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    out = bytes.str();
    return true;
}

void run(const std::string& input) {
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
}

} // namespace

int main(int argc, char** argv) {
    long iterations = 3000;
    double budgetSeconds = 60;
    int prefixBytes = 0;
    std::vector<std::string> tokens;
    std::vector<std::filesystem::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--iterations=", 0) == 0) {
            iterations = std::strtol(arg.c_str() + 13, nullptr, 10);
        } else if (arg.rfind("--seconds=", 0) == 0) {
            budgetSeconds = std::strtod(arg.c_str() + 10, nullptr);
        } else if (arg.rfind("--prefix-bytes=", 0) == 0) {
            prefixBytes = static_cast<int>(std::strtol(arg.c_str() + 15, nullptr, 10));
        } else if (arg.rfind("--dict=", 0) == 0) {
            std::ifstream dictionary(arg.substr(7));
            if (!dictionary) {
                std::fprintf(stderr, "cannot read the dictionary %s\n", arg.c_str() + 7);
                return 2;
            }
            tokens = readDictionary(dictionary);
        } else {
            inputs.emplace_back(arg);
        }
    }

    std::vector<std::string> seeds{""};
    for (const auto& input : inputs) {
        std::error_code error;
        const auto add = [&seeds](const std::filesystem::path& file) {
            std::string bytes;
            if (readFile(file, bytes)) {
                seeds.push_back(std::move(bytes));
            }
        };
        if (std::filesystem::is_directory(input, error)) {
            for (const auto& entry : std::filesystem::directory_iterator(input, error)) {
                if (entry.is_regular_file()) {
                    add(entry.path());
                }
            }
        } else if (std::filesystem::is_regular_file(input, error)) {
            add(input);
        } else {
            std::fprintf(stderr, "no such corpus %s\n", input.c_str());
            return 2;
        }
    }
    for (const std::string& seed : seeds) {
        run(seed);
        for (int prefix = 0; prefix < prefixBytes; ++prefix) {
            run(std::string(1, static_cast<char>(prefix)) + seed);
        }
    }

    Random random(0x5eed'd4a5'1234'abcdULL);
    const auto start = std::chrono::steady_clock::now();
    long done = 0;
    for (; done < iterations; ++done) {
        if (std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() > budgetSeconds) {
            break;
        }
        const std::string& seed = seeds[random.below(seeds.size())];
        std::string input =
            prefixBytes > 0
                ? std::string(1, static_cast<char>(random.below(static_cast<std::size_t>(prefixBytes))))
                : std::string();
        input += mutate(seed, tokens, random);
        run(input);
    }
    std::printf("replayed %zu inputs and %ld mutations\n", seeds.size(), done);
    return 0;
}
