#pragma once
// The bytes the process holds in live heap blocks right now: AddressSanitizer's count in a
// sanitized build (its quarantine keeps freed blocks out of the process's own counts), glibc's
// otherwise.

#include <cstddef>
#include <cstdint>
#include <malloc.h>

#if defined(__SANITIZE_ADDRESS__)
// From AddressSanitizer's runtime; GCC ships no header for it.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace tunekist::test {

inline std::int64_t LiveHeapBytes() {
#if defined(__SANITIZE_ADDRESS__)
    return static_cast<std::int64_t>(__sanitizer_get_current_allocated_bytes());
#else
    return static_cast<std::int64_t>(mallinfo2().uordblks);
#endif
}

}  // namespace tunekist::test
