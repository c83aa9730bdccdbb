// What the fast paths rely on, checked where it cannot be proved at compile
// time. The sanitizer build (SYMTEXT_CHECKED) stops at once on a broken
// invariant; the shipped build compiles the checks away.
#pragma once

#include <cstddef>

#if defined(SYMTEXT_CHECKED)
[[noreturn]] void invariantBroken(const char *condition, const char *file, int line);
#define SYMTEXT_CHECK(condition) ((condition) ? void(0) : invariantBroken(#condition, __FILE__, __LINE__))
#else
#define SYMTEXT_CHECK(condition) void(0)
#endif

// Under AddressSanitizer the parts of a buffer that no code may touch now are
// marked, so that a store or load past a reservation is reported where it
// happens, even inside DumpState, where the next buffer would hide it.
#if defined(__SANITIZE_ADDRESS__)
#define SYMTEXT_MARK_BUFFERS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SYMTEXT_MARK_BUFFERS 1
#endif
#endif

#if defined(SYMTEXT_MARK_BUFFERS)
#include <sanitizer/asan_interface.h>
inline void markOffLimits(const void *start, std::size_t n) { ASAN_POISON_MEMORY_REGION(start, n); }
inline void markInLimits(const void *start, std::size_t n) { ASAN_UNPOISON_MEMORY_REGION(start, n); }
#else
inline void markOffLimits(const void *, std::size_t) {}
inline void markInLimits(const void *, std::size_t) {}
#endif
