// The two ways of each byte scan; byte_scan.h picks one.
#include "lib/byte_scan.h"

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <emmintrin.h>

namespace bytescan {

#if !defined(__x86_64__)
// Read during the static initialisation of the program. Where that never ran (the program loaded
// as a module without its start-up code) the scans take the portable way, which is still right.
const bool hasSse2 = IsProcessorFeaturePresent(PF_XMMI64_INSTRUCTIONS_AVAILABLE) != FALSE;
#endif

namespace {

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

bool IsLineOrControl(unsigned char c) { return c == '\r' || c == '\n' || c == 0x08 || c == 0x05; }

}  // namespace

const char* FindBytePortable(const char* p, size_t n, char c) {
    const uint32_t pattern = kOnes * static_cast<unsigned char>(c);
    size_t i = 0;
    while (i + 4 <= n && !HasByte(Load32(p + i), pattern)) i += 4;
    for (; i < n; ++i)
        if (p[i] == c) return p + i;
    return nullptr;
}

__attribute__((target("sse2"))) const char* FindByteSse2(const char* p, size_t n, char c) {
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

const char* FindLineOrControlPortable(const char* p, const char* end) {
    while (end - p >= 4) {
        uint32_t word = Load32(p);
        if (HasByte(word, kOnes * '\r') | HasByte(word, kOnes * '\n') | HasByte(word, kOnes * 0x08) |
            HasByte(word, kOnes * 0x05))
            break;
        p += 4;
    }
    while (p < end && !IsLineOrControl(static_cast<unsigned char>(*p))) ++p;
    return p;
}

__attribute__((target("sse2"))) const char* FindLineOrControlSse2(const char* p, const char* end) {
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
    while (p < end && !IsLineOrControl(static_cast<unsigned char>(*p))) ++p;
    return p;
}

}  // namespace bytescan
