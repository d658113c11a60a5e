// Scans of large buffers for single bytes: sixteen bytes at a time with SSE2 where the processor
// has it (always on x86_64; on i686 decided once at start-up), four bytes at a time elsewhere.
#pragma once
#include <cstddef>

namespace bytescan {

// The first c in the n bytes at p, or null.
const char* FindBytePortable(const char* p, size_t n, char c);
const char* FindByteSse2(const char* p, size_t n, char c);
// The first CR, LF, BS (0x08) or 0x05 in [p, end); end when there is none.
const char* FindLineOrControlPortable(const char* p, const char* end);
const char* FindLineOrControlSse2(const char* p, const char* end);

#if defined(__x86_64__)
constexpr bool HasSse2() { return true; }
#else
extern const bool hasSse2;
inline bool HasSse2() { return hasSse2; }
#endif

inline const char* FindByte(const char* p, size_t n, char c) {
    return HasSse2() ? FindByteSse2(p, n, c) : FindBytePortable(p, n, c);
}
inline const char* FindLineOrControl(const char* p, const char* end) {
    return HasSse2() ? FindLineOrControlSse2(p, end) : FindLineOrControlPortable(p, end);
}

}  // namespace bytescan
