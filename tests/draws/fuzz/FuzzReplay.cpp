// The fuzz target's input, replayed without libFuzzer so that every compiler and every test
// run exercises it: the fixture pages and files given on the command line as they are, then
// a fixed series of mutations of them (the same series on every run). Stops after the
// iteration count or the time budget, whichever comes first; a crash or a sanitizer report
// fails the test.
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

// Pieces that steer mutations toward what the parsers look for.
constexpr std::string_view kTokens[] = {
    "<div>",
    "</div>",
    "<a>",
    "</a>",
    "<span class=red>",
    "<span class=\"red ball\">",
    "</span>",
    "<td>",
    "<tr>",
    "</tr>",
    "<tbody>",
    "<table class=kjtable>",
    "</table>",
    "<div class=more-time-cont>",
    "<span class=kaij-tit>",
    "<div class=kaij-jg>",
    "<!--",
    "-->",
    "&nbsp;",
    "<script>",
    "</script>",
    "<b><i>",
    "<p>",
    "<li>",
    "\xBF\xEC",
    "\x80",
    "\xFF",
    "\x95\x32\x82\x36",
    "<meta charset=utf-8>",
    "\xE5\xBF",
    "<b id=1>",
    "<i class=x>",
    "</p><p>x",
};

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

std::string mutate(std::string input, Random& random) {
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
            input.insert(pos, kTokens[random.below(std::size(kTokens))]);
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
            const std::string_view token = kTokens[random.below(std::size(kTokens))];
            const std::size_t times = random.below(3000);
            std::string repeated;
            for (std::size_t i = 0; i < times; ++i) {
                repeated += token;
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
    std::vector<std::filesystem::path> inputs;
    if (const char* root = std::getenv("QUENMAR_TEST_DATA")) {
        inputs.emplace_back(std::filesystem::path(root) / "draws");
    }
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--iterations=", 0) == 0) {
            iterations = std::strtol(arg.c_str() + 13, nullptr, 10);
        } else if (arg.rfind("--seconds=", 0) == 0) {
            budgetSeconds = std::strtod(arg.c_str() + 10, nullptr);
        } else {
            inputs.emplace_back(arg);
        }
    }

    std::vector<std::string> seeds{"", "<div class=more-time-cont><a><span class=kaij-tit>1期<b>d</b></span>"
                                       "<span class=kaij-jg><i>01</i></span></a></div>"};
    for (const auto& input : inputs) {
        std::error_code error;
        const bool folder = std::filesystem::is_directory(input, error);
        const auto add = [&seeds](const std::filesystem::path& file) {
            std::string bytes;
            if (readFile(file, bytes)) {
                seeds.push_back(std::move(bytes));
            }
        };
        if (folder) {
            for (const auto& entry : std::filesystem::directory_iterator(input, error)) {
                if (entry.is_regular_file()) {
                    add(entry.path());
                }
            }
        } else {
            add(input);
        }
    }
    for (const std::string& seed : seeds) {
        for (char lottery = 0; lottery < 7; ++lottery) {
            run(std::string(1, lottery) + seed);
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
        std::string input(1, static_cast<char>(random.below(7)));
        input.append(mutate(seed, random));
        run(input);
    }
    std::printf("replayed %zu seeds x 7 and %ld mutations\n", seeds.size(), done);
    return 0;
}
