#pragma once

#include <cstdio>
#include <cstdlib>

// A property every input must keep. A broken one aborts, which libFuzzer and the replay
// report as a crash with the input that broke it.
namespace quenmar::test {

inline void fuzzCheck(bool kept, const char* property) {
    if (!kept) {
        std::fprintf(stderr, "fuzz property broken: %s\n", property);
        std::abort();
    }
}

} // namespace quenmar::test
