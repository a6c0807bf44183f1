#pragma once

#include <cstdio>
#include <cstdlib>

// A broken property is a crash to libFuzzer: it keeps the input that broke it and stops.
#define FUZZ_CHECK(condition)   \
    ((condition)                \
         ? static_cast<void>(0) \
         : fuzz::fail(__FILE__ ":" FUZZ_LINE_TEXT(__LINE__) ": property broken: " #condition))
#define FUZZ_LINE_TEXT(line) FUZZ_STRINGIFY(line)
#define FUZZ_STRINGIFY(text) #text

namespace fuzz {

[[noreturn]] inline void fail(const char* message) {
    std::fputs(message, stderr);
    std::fputc('\n', stderr);
    std::abort();
}

}  // namespace fuzz
