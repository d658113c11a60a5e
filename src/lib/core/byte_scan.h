// Scans of large buffers for single bytes: sixteen bytes at a time with SSE2 where the processor
// has it (always on x86_64; on i686 decided once at start-up), four bytes at a time elsewhere.
// Inline, so that the x86_64 build folds them into the loops that call them per line.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <emmintrin.h>

namespace bytescan {

namespace detail {

constexpr uint32_t kOnes = 0x01010101u;

// Nonzero when one of the four bytes of word equals the byte repeated in pattern.
inline uint32_t HasByte(uint32_t word, uint32_t pattern) {
    uint32_t x = word ^ pattern;
    return (x - kOnes) & ~x & 0x80808080u;
}

inline uint32_t Load32(const char* p) {
    uint32_t word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

inline bool IsLineOrControl(unsigned char c) { return c == '\r' || c == '\n' || c == 0x08 || c == 0x05; }

}  // namespace detail

// The first c in the n bytes at p, or null.
inline const char* FindBytePortable(const char* p, size_t n, char c) {
    const uint32_t pattern = detail::kOnes * static_cast<unsigned char>(c);
    size_t i = 0;
    while (i + 4 <= n && !detail::HasByte(detail::Load32(p + i), pattern)) i += 4;
    for (; i < n; ++i)
        if (p[i] == c) return p + i;
    return nullptr;
}

__attribute__((target("sse2"))) inline const char* FindByteSse2(const char* p, size_t n, char c) {
    const __m128i needle = _mm_set1_epi8(c);
    size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        int mask = _mm_movemask_epi8(_mm_cmpeq_epi8(chunk, needle));
        if (mask) return p + i + __builtin_ctz(static_cast<unsigned>(mask));
    }
    for (; i < n; ++i)
        if (p[i] == c) return p + i;
    return nullptr;
}

// The first CR, LF, BS (0x08) or 0x05 in [p, end); end when there is none.
inline const char* FindLineOrControlPortable(const char* p, const char* end) {
    using detail::HasByte;
    using detail::kOnes;
    while (end - p >= 4) {
        uint32_t word = detail::Load32(p);
        if (HasByte(word, kOnes * '\r') | HasByte(word, kOnes * '\n') | HasByte(word, kOnes * 0x08) |
            HasByte(word, kOnes * 0x05))
            break;
        p += 4;
    }
    while (p < end && !detail::IsLineOrControl(static_cast<unsigned char>(*p))) ++p;
    return p;
}

__attribute__((target("sse2"))) inline const char* FindLineOrControlSse2(const char* p, const char* end) {
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i bs = _mm_set1_epi8(0x08);
    const __m128i c5 = _mm_set1_epi8(0x05);
    while (end - p >= 16) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)),
                                   _mm_or_si128(_mm_cmpeq_epi8(v, bs), _mm_cmpeq_epi8(v, c5)));
        int mask = _mm_movemask_epi8(hit);
        if (mask) return p + __builtin_ctz(static_cast<unsigned>(mask));
        p += 16;
    }
    while (p < end && !detail::IsLineOrControl(static_cast<unsigned char>(*p))) ++p;
    return p;
}

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
