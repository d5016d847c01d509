#pragma once

#include <cstdio>
#include <cstdlib>

// A promise the code under test broke: names it, then aborts so that
// libFuzzer keeps the input.
[[noreturn]] inline void mkFuzzRequirementFailed(const char* condition, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: requirement failed: %s\n", file, line, condition);
  std::abort();
}

#define MK_REQUIRE(condition) ((condition) ? void() : mkFuzzRequirementFailed(#condition, __FILE__, __LINE__))
