// What a fuzz target asserts: a broken rule prints what broke and aborts, so
// libFuzzer keeps the input that broke it.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace trelvanic::fuzz {

[[noreturn]] inline void Broken(const char* rule, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: rule broken: %s\n", file, line, rule);
    std::abort();
}

} // namespace trelvanic::fuzz

#define FUZZ_REQUIRE(condition)                                                         \
    do {                                                                                \
        if (!(condition)) ::trelvanic::fuzz::Broken(#condition, __FILE__, __LINE__);    \
    } while (false)
