#include "search/TextMatcher.h"

#include <array>
#include <atomic>
#include <bit>
#include <cstdint>
#include <cstring>

#include "store/Sanitizers.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Where the compiler can build a function for AVX2 alone, the scans are built twice, and
// what the processor has decides at run time which of them runs.
#if defined(__SSE2__) && (defined(__GNUC__) || defined(__clang__)) && (defined(__x86_64__) || defined(__i386__))
#define NORVELLE_AVX2_SCANS 1
#include <immintrin.h>
#define NORVELLE_AVX2 __attribute__((target("avx2,bmi,bmi2")))
#endif
#if defined(__GNUC__) || defined(__clang__)
#define NORVELLE_INLINE inline __attribute__((always_inline))
#else
#define NORVELLE_INLINE inline
#endif

namespace {

// Upper case as the C locale has it: only a to z change.
constexpr std::array<unsigned char, 256> MakeUpper()
{
    std::array<unsigned char, 256> table{};
    for (int c = 0; c < 256; ++c) table[size_t(c)] = (unsigned char)(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    return table;
}
constexpr std::array<unsigned char, 256> kUpper = MakeUpper();

inline bool IsSpace(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
inline bool IsSpaceOrNul(unsigned char c) { return c == 0 || IsSpace(c); }
inline bool IsLetter(unsigned char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; }

// Both strings read as NUL-terminated: a byte at or past the end is NUL.
struct Bytes {
    const unsigned char* data;
    size_t size;
    unsigned char operator[](size_t i) const { return i < size ? data[i] : 0; }
};

inline Bytes Of(std::string_view s) { return {reinterpret_cast<const unsigned char*>(s.data()), s.size()}; }

// The walk of the exact matcher from one start position.
inline bool ExactFrom(Bytes t, size_t i, Bytes p)
{
    size_t j = 0;
    while (j < p.size) {
        if (i >= t.size) return false;
        const unsigned char pc = p.data[j];
        if (pc == ' ') {
            while (i < t.size && IsSpace(t.data[i])) ++i;
        } else {
            if (kUpper[t.data[i]] != kUpper[pc]) return false;
            ++i;
        }
        ++j;
    }
    return true;
}

// How common a character is in text, to look for the rarest one: letters by their
// frequency in English, everything else rare.
constexpr std::array<unsigned char, 256> MakeCommonness()
{
    std::array<unsigned char, 256> table{};
    const char byFrequency[] = "ETAOINSHRDLCUMWFGYPBVKJXQZ";
    for (int i = 0; byFrequency[i]; ++i) {
        table[size_t(byFrequency[i])] = (unsigned char)(26 - i);
        table[size_t(byFrequency[i] | 0x20)] = (unsigned char)(26 - i);
    }
    table[' '] = 100;
    return table;
}
constexpr std::array<unsigned char, 256> kCommonness = MakeCommonness();

inline bool Agree(unsigned char x, unsigned char y) { return x == y || y == 0 || (IsSpaceOrNul(x) && IsSpaceOrNul(y)); }

// One attempt of the typo matcher from one start position.
inline bool TypoFrom(Bytes t, size_t start, Bytes p, int S)
{
    const bool typosAllowed = p.size >= 2;
    size_t T = start, P = 0;
    int run = 9;
    unsigned char tc = t[T], pc = p[P];
    while (tc != 0 && pc != 0) {
        if (pc == ' ') {
            // A character of the field just before its white space, left out of the search text.
            if (run >= S && !IsSpace(tc) && IsSpace(t[T + 1])) ++T;
            while (T < t.size && IsSpace(t.data[T])) ++T;
            run = 9;
            ++P;
        } else if (kUpper[tc] == kUpper[pc]) {
            ++run;
            ++T;
            ++P;
        } else {
            if (!typosAllowed || run < S) return false;
            const unsigned char t0 = kUpper[tc], t1 = kUpper[t[T + 1]], t2 = kUpper[t[T + 2]];
            const unsigned char p0 = kUpper[pc], p1 = kUpper[p[P + 1]], p2 = kUpper[p[P + 2]];
            const bool A = t0 == p1, B = t1 == p0;
            if (A && B && Agree(t2, p2)) {  // swapped pair
                T += 2;
                P += 2;
                run = 0;
            } else if (B && Agree(t2, p1)) {  // a character left out of the search text
                T += 2;
                P += 1;
                run = 1;
            } else if (A && Agree(t1, p2)) {  // an extra character in the search text
                T += 1;
                P += 2;
                run = 1;
            } else if (Agree(t1, p1)) {  // a wrong character
                T += 1;
                P += 1;
                run = 0;
            } else {
                return false;
            }
        }
        tc = t[T];
        pc = p[P];
    }
    if (pc == 0) return true;
    // The text ran out with one pattern character left: it has no counterpart where the
    // field ends.
    return p[P + 1] == 0 && typosAllowed && run >= S && IsSpaceOrNul(tc);
}

// The bytes of a window that an attempt from each of its first 64 places reads ahead.
constexpr size_t kWindow = 68;

// Where a window of kWindow bytes holds one character without regard to ASCII case: bit
// i of lo for byte i, bit j of hi for byte 64 + j.
struct CharMask {
    uint64_t lo = 0;
    unsigned hi = 0;
};

// Finds one character without regard to ASCII case: a letter is compared with the bytes
// made lower case by setting their 0x20 bit (which changes no other byte into a letter),
// anything else with the bytes as they are.
class CharFinder {
public:
    explicit CharFinder(unsigned char upper = 0)
        : m_letter(IsLetter(upper)), m_byte(m_letter ? upper | 0x20 : upper)
    {
#if defined(__SSE2__)
        m_vector = _mm_set1_epi8(char(m_byte));
        m_fold = _mm_set1_epi8(m_letter ? 0x20 : 0);
#endif
    }
    bool Is(unsigned char c) const { return (m_letter ? c | 0x20 : c) == m_byte; }

#if defined(__SSE2__)
    // The ones of sixteen bytes that hold the character, a bit each.
    unsigned Hits(__m128i bytes) const
    {
        return unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_or_si128(bytes, m_fold), m_vector)));
    }
#endif
#if defined(NORVELLE_AVX2_SCANS)
    // The same for thirty-two bytes.
    NORVELLE_AVX2 uint32_t Hits(__m256i bytes) const
    {
        const __m256i fold = _mm256_broadcastsi128_si256(m_fold), vector = _mm256_broadcastsi128_si256(m_vector);
        return uint32_t(_mm256_movemask_epi8(_mm256_cmpeq_epi8(_mm256_or_si256(bytes, fold), vector)));
    }
#endif

private:
    bool m_letter;
    unsigned char m_byte;
#if defined(__SSE2__)
    __m128i m_vector, m_fold;
#endif
};

// The vector steps of the scans, sixteen bytes at a time (every x86-64 processor has them).
// Without SSE2 they are plain loops.
struct Sse2 {
    // Where a window of kWindow readable bytes holds each of count characters, each chunk of
    // sixteen bytes read once for all of them.
    template <int count>
    static void FindAll(const CharFinder* finders, const unsigned char* window, CharMask* masks)
    {
        for (int k = 0; k < count; ++k) masks[k] = {};
#if defined(__SSE2__)
#pragma GCC unroll 4
        for (int part = 0; part < 4; ++part) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(window + 16 * part));
#pragma GCC unroll 4
            for (int k = 0; k < count; ++k) masks[k].lo |= uint64_t(finders[k].Hits(bytes)) << (16 * part);
        }
        FindLast<count>(finders, window, masks);
#else
        for (int k = 0; k < count; ++k) {
            for (size_t j = 0; j < 64; ++j) masks[k].lo |= uint64_t(finders[k].Is(window[j])) << j;
            for (size_t j = 64; j < kWindow; ++j) masks[k].hi |= unsigned(finders[k].Is(window[j])) << (j - 64);
        }
#endif
    }

#if defined(__SSE2__)
    // Bytes 64 on of a window: the last ones of the sixteen that end it.
    template <int count>
    static void FindLast(const CharFinder* finders, const unsigned char* window, CharMask* masks)
    {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(window + kWindow - 16));
#pragma GCC unroll 4
        for (int k = 0; k < count; ++k) masks[k].hi = finders[k].Hits(bytes) >> (80 - kWindow);
    }

    // The near characters among 64 bytes, one bit each.
    static uint64_t NearMask64(const unsigned char* chunk, const __m128i* set, int count)
    {
        uint64_t mask = 0;
#pragma GCC unroll 4
        for (int part = 0; part < 4; ++part) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(chunk + 16 * part));
            __m128i hit = _mm_setzero_si128();
            for (int k = 0; k < count; ++k) hit = _mm_or_si128(hit, _mm_cmpeq_epi8(bytes, set[k]));
            mask |= uint64_t(uint32_t(_mm_movemask_epi8(hit))) << (16 * part);
        }
        return mask;
    }
#endif
};

#if defined(NORVELLE_AVX2_SCANS)
// The same steps thirty-two bytes at a time, for processors with AVX2 (most since 2013): a
// typo search over every row then takes about a tenth less time.
struct Avx2 {
    template <int count>
    NORVELLE_AVX2 static void FindAll(const CharFinder* finders, const unsigned char* window, CharMask* masks)
    {
        const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(window));
        const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(window + 32));
#pragma GCC unroll 4
        for (int k = 0; k < count; ++k)
            masks[k].lo = uint64_t(finders[k].Hits(low)) | uint64_t(finders[k].Hits(high)) << 32;
        Sse2::FindLast<count>(finders, window, masks);
    }

    NORVELLE_AVX2 static uint64_t NearMask64(const unsigned char* chunk, const __m128i* set, int count)
    {
        const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(chunk));
        const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(chunk + 32));
        __m256i lowHit = _mm256_setzero_si256(), highHit = _mm256_setzero_si256();
        for (int k = 0; k < count; ++k) {
            const __m256i near = _mm256_broadcastsi128_si256(set[k]);
            lowHit = _mm256_or_si256(lowHit, _mm256_cmpeq_epi8(low, near));
            highHit = _mm256_or_si256(highHit, _mm256_cmpeq_epi8(high, near));
        }
        return uint64_t(uint32_t(_mm256_movemask_epi8(lowHit))) |
               uint64_t(uint32_t(_mm256_movemask_epi8(highHit))) << 32;
    }
};

// AVX2, with the bit instructions that came with it (the wide scans are built for both).
bool ProcessorHasAvx2()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi") && __builtin_cpu_supports("bmi2");
}
#else
bool ProcessorHasAvx2() { return false; }
#endif

// 0 until first asked (so that it holds whatever order the program starts in), then 1 for
// sixteen bytes at a time or 2 for thirty-two.
std::atomic<int> g_vectorWidth{0};

int VectorWidth()
{
    int width = g_vectorWidth.load(std::memory_order_relaxed);
    if (width == 0) {
        width = ProcessorHasAvx2() ? 2 : 1;
        g_vectorWidth.store(width, std::memory_order_relaxed);
    }
    return width;
}

// A window that runs past the text is read in place when all of it lies in the text's own
// memory page, where a read cannot fault; what lies after the text is masked off. The
// sanitizers would report those reads (bytes of another object, maybe another thread's),
// so under them every such window is copied.
#if defined(NORVELLE_ADDRESS_SANITIZER) || defined(NORVELLE_THREAD_SANITIZER)
#define NORVELLE_COPY_LAST_WINDOW 1
#endif

inline bool WithinOnePage(const unsigned char* window, size_t bytes)
{
#if defined(NORVELLE_COPY_LAST_WINDOW)
    (void)window;
    (void)bytes;
    return false;
#else
    return (reinterpret_cast<uintptr_t>(window) & 4095) <= 4096 - bytes;
#endif
}

// The window of text t from base on: in place where it lies whole in the text or in the
// text's page, else copied into tail with NULs after the text (as the walks read it).
// pastText tells whether the window holds bytes after the text, to be masked off.
inline const unsigned char* WindowAt(Bytes t, size_t base, unsigned char (&tail)[kWindow], bool& pastText)
{
    const unsigned char* window = t.data + base;
    pastText = base + kWindow > t.size;
    if (pastText && !WithinOnePage(window, kWindow)) {
        std::memset(tail, 0, sizeof tail);
        std::memcpy(tail, window, t.size - base);
        pastText = false;
        return tail;
    }
    return window;
}

// Keeps the bits of the first valid bytes of a window.
inline void KeepFirst(CharMask& m, size_t valid)
{
    if (valid < 64) m.lo &= (uint64_t(1) << valid) - 1;
    m.hi &= valid <= 64 ? 0u : (1u << (valid - 64 < kWindow - 64 ? valid - 64 : kWindow - 64)) - 1;
}

// The mask of position i + k at bit i, for k of 1 to kWindow - 64.
template <int k>
inline uint64_t Next(const CharMask& m)
{
    static_assert(k >= 1 && k <= int(kWindow - 64));
    return (m.lo >> k) | (uint64_t(m.hi) << (64 - k));
}
inline uint64_t Next1(const CharMask& m) { return Next<1>(m); }
inline uint64_t Next2(const CharMask& m) { return Next<2>(m); }
inline uint64_t Next3(const CharMask& m) { return Next<3>(m); }

// Either of two characters at i or i + 1, for the places i of a window but its last.
inline CharMask AtOrNext(const CharMask& a, const CharMask& b)
{
    const CharMask either{a.lo | b.lo, a.hi | b.hi};
    return {either.lo | Next1(either), (either.hi | either.hi >> 1) & ((1u << (kWindow - 65)) - 1)};
}

// Which text bytes can begin an attempt, as a table and as byte vectors, and finders for
// the pattern's first three or four characters.
struct TypoPlan {
    explicit TypoPlan(std::string_view p) : pattern(p)
    {
        const unsigned char p0 = kUpper[(unsigned char)p[0]];
        const unsigned char p1 = p.size() >= 2 ? kUpper[(unsigned char)p[1]] : 0;
        const unsigned char p2 = p.size() >= 3 ? kUpper[(unsigned char)p[2]] : 0;
        for (int c = 0; c < 256; ++c) {
            const unsigned char u = kUpper[c];
            near[c] = u == p0 || (p.size() >= 2 && (u == p1 || (IsSpaceOrNul(p1) && IsSpaceOrNul(u))));
            if (near[c]) nearBytes[nearCount++] = (unsigned char)c;
        }
        first[0] = CharFinder(p0);
        first[1] = CharFinder(p1);
        first[2] = CharFinder(p2);
        const unsigned char p3 = p.size() >= 4 ? kUpper[(unsigned char)p[3]] : 0;
        if (p3 != 0 && p3 != ' ' && p2 != ' ') {
            fourth = true;
            first[3] = CharFinder(p3);
        }
#if defined(__SSE2__)
        // A few near characters are compared sixteen bytes at a time; many, by the table.
        setCount = nearCount <= 8 ? nearCount : 0;
        for (int k = 0; k < setCount; ++k) set[k] = _mm_set1_epi8(char(nearBytes[k]));
#endif
    }

    std::string pattern;
    bool near[256] = {};
    unsigned char nearBytes[256] = {};
    int nearCount = 0;
    CharFinder first[4];  // the pattern's first characters
    bool fourth = false;  // the first word has four characters at least: first[3] is its fourth
#if defined(__SSE2__)
    __m128i set[8];
    int setCount = 0;
#endif
};

// The typo matcher's scan of a text, with the vector steps of Simd.
template <class Simd>
NORVELLE_INLINE bool TypoScan(Bytes t, const TypoPlan& plan, int S)
{
    const Bytes p = Of(plan.pattern);
    const unsigned char p0 = kUpper[p.data[0]], p1 = kUpper[p[1]];
    if (p0 == ' ') {
        for (size_t start = 0; start < t.size; ++start)
            if (TypoFrom(t, start, p, S)) return true;
        return false;
    }
    // An attempt gets past its first pattern character only when the text's character
    // there or the one after it is the pattern's first or second character (or both
    // are white space), so only positions next to such characters are tried.
    const unsigned char p2 = kUpper[p[2]];
    if (S >= 2 && p1 != 0 && p2 != 0 && p1 != ' ' && p2 != ' ') {
        // A first word of three characters or more, typos S >= 2 apart: an attempt from
        // position i can succeed only when its first step does and the exact characters
        // that must follow a typo are there. So it starts with p0; or it is a swap
        // (p1 p0 p2), a character left out of the search text (x p0 p1), an extra one in it
        // (p1 p2) or a wrong one (x p1 p2). Those are found for 64 positions at a time.
        unsigned char tail[kWindow];
        for (size_t base = 0; base < t.size; base += 64) {
            bool pastText;
            const unsigned char* window = WindowAt(t, base, tail, pastText);
            CharMask e[4];
            if (plan.fourth)
                Simd::template FindAll<4>(plan.first, window, e);
            else
                Simd::template FindAll<3>(plan.first, window, e);
            if (pastText)
                for (CharMask& m : e) KeepFirst(m, t.size - base);
            const CharMask &e0 = e[0], &e1 = e[1], &e2 = e[2];
            const uint64_t n0 = Next1(e0), n1 = Next1(e1), n2 = Next1(e2);
            const uint64_t m1 = Next2(e1), m2 = Next2(e2);
            // An attempt that begins with p0 takes its second step only when p1 or p2 is one
            // or two characters on (exact, or any of the four typos); so with p0 a common
            // letter most of its places are passed over. Likewise, once p0 and p1 have
            // matched, with or without a character left out between them, the third step
            // needs p2 or p3 one or two characters on.
            uint64_t third = ~uint64_t(0), thirdAfterLeftOut = ~uint64_t(0);
            if (plan.fourth) {
                const CharMask f = AtOrNext(e2, e[3]);
                third = Next2(f);
                thirdAfterLeftOut = Next3(f);
            }
            const uint64_t begins = e0.lo & ((n1 & third) | m1 | n2 | m2);
            uint64_t candidates =
                begins | (e1.lo & n0 & m2) | (n0 & m1 & thirdAfterLeftOut) | (e1.lo & n2) | (n1 & m2);
            if (t.size - base < 64) candidates &= (uint64_t(1) << (t.size - base)) - 1;
            while (candidates) {
                const size_t start = base + size_t(std::countr_zero(candidates));
                candidates &= candidates - 1;
                if (TypoFrom(t, start, p, S)) return true;
            }
        }
        return false;
    }
    const bool* near = plan.near;
    const uint64_t nearEnd = p.size >= 2 && IsSpaceOrNul(p1);  // the NUL after the text is near
    // Sixty-four positions at a time: a mask of the near characters, without branches,
    // then only the positions at or just before a near character are looked at.
    for (size_t base = 0; base < t.size; base += 64) {
        const size_t length = t.size - base < 64 ? t.size - base : 64;
        const unsigned char* chunk = t.data + base;
        uint64_t mask = 0;
#if defined(__SSE2__)
        // A short last chunk too is read in place when its page holds 64 bytes from it.
        if (plan.setCount > 0 && (length == 64 || WithinOnePage(chunk, 64))) {
            mask = Simd::NearMask64(chunk, plan.set, plan.setCount);
            if (length < 64) mask &= (uint64_t(1) << length) - 1;
        } else
#endif
            for (size_t j = 0; j < length; ++j) mask |= uint64_t(near[chunk[j]]) << j;
        const uint64_t after = base + length < t.size ? uint64_t(near[t.data[base + length]]) : nearEnd;
        uint64_t candidates = mask | (mask >> 1) | (after << (length - 1));
        while (candidates) {
            const size_t start = base + size_t(std::countr_zero(candidates));
            candidates &= candidates - 1;
            // The first step of an attempt, as its rules allow it, before the attempt itself.
            const unsigned char t0 = kUpper[t.data[start]], t1 = kUpper[t[start + 1]];
            const bool firstStep =
                t0 == p0 || (p.size >= 2 && (Agree(t1, p1) || (t1 == p0 && Agree(kUpper[t[start + 2]], p1)) ||
                                             (t0 == p1 && (t1 == p0 || Agree(t1, p2)))));
            if (firstStep && TypoFrom(t, start, p, S)) return true;
        }
    }
    return false;
}

// The exact matcher's scan of a text, with the vector steps of Simd.
template <class Simd>
NORVELLE_INLINE bool ExactScan(Bytes t, Bytes p)
{
    if (p.data[0] == ' ') {
        for (size_t start = 0; start < t.size; ++start)
            if (ExactFrom(t, start, p)) return true;
        return false;
    }
    // Within the pattern's first word every character has a fixed distance from the
    // start, so the rarest of them is looked for, 64 places at a time, and the start
    // found from it.
    size_t anchor = 0;
    for (size_t k = 1; k < p.size && p.data[k] != ' '; ++k)
        if (kCommonness[p.data[k]] < kCommonness[p.data[anchor]]) anchor = k;
    const CharFinder finder[1] = {CharFinder(kUpper[p.data[anchor]])};
    unsigned char tail[kWindow];
    for (size_t base = anchor; base < t.size; base += 64) {
        bool pastText;
        CharMask hits[1];
        Simd::template FindAll<1>(finder, WindowAt(t, base, tail, pastText), hits);
        uint64_t candidates = hits[0].lo;
        if (t.size - base < 64) candidates &= (uint64_t(1) << (t.size - base)) - 1;
        while (candidates) {
            const size_t hit = base + size_t(std::countr_zero(candidates));
            candidates &= candidates - 1;
            if (ExactFrom(t, hit - anchor, p)) return true;
        }
    }
    return false;
}

// Each scan built for each width; the wider ones run only where the processor has AVX2.
bool TypoScanSse2(Bytes t, const TypoPlan& plan, int S) { return TypoScan<Sse2>(t, plan, S); }
bool ExactScanSse2(Bytes t, Bytes p) { return ExactScan<Sse2>(t, p); }
#if defined(NORVELLE_AVX2_SCANS)
NORVELLE_AVX2 bool TypoScanAvx2(Bytes t, const TypoPlan& plan, int S) { return TypoScan<Avx2>(t, plan, S); }
NORVELLE_AVX2 bool ExactScanAvx2(Bytes t, Bytes p) { return ExactScan<Avx2>(t, p); }
bool WideVectors() { return VectorWidth() == 2; }
#endif

}  // namespace

struct CTypoMatcher::Plan : TypoPlan {
    using TypoPlan::TypoPlan;
};

CTypoMatcher::CTypoMatcher(bool emptyMatch, int separation)
    : CTextMatcher(emptyMatch), m_separation(separation >= 1 && separation <= 9 ? separation : 2)
{
}

CTypoMatcher::~CTypoMatcher() = default;

const CTypoMatcher::Plan& CTypoMatcher::PlanFor(std::string_view pattern) const
{
    if (!m_plan || m_plan->pattern != pattern) m_plan = std::make_unique<Plan>(pattern);
    return *m_plan;
}

void CTypoMatcher::Prepare(std::string_view pattern) const
{
    m_prepared = pattern;
    m_preparedPlan = pattern.empty() ? nullptr : std::make_unique<Plan>(pattern);
}

bool CTypoMatcher::Match(std::string_view text, std::string_view pattern) const
{
    if (text.empty()) return pattern.empty() ? m_emptyMatch : false;
    if (pattern.empty()) return false;
    return MatchPlanned(text, PlanFor(pattern));
}

bool CTypoMatcher::MatchPrepared(std::string_view text) const
{
    if (!m_preparedPlan) return Match(text, m_prepared);
    if (text.empty()) return false;
    return MatchPlanned(text, *m_preparedPlan);
}

bool CTypoMatcher::MatchPlanned(std::string_view text, const Plan& plan) const
{
#if defined(NORVELLE_AVX2_SCANS)
    if (WideVectors()) return TypoScanAvx2(Of(text), plan, m_separation);
#endif
    return TypoScanSse2(Of(text), plan, m_separation);
}

bool CExactMatcher::Match(std::string_view text, std::string_view pattern) const
{
    if (text.empty()) return pattern.empty() ? m_emptyMatch : false;
    if (pattern.empty()) return false;
#if defined(NORVELLE_AVX2_SCANS)
    if (WideVectors()) return ExactScanAvx2(Of(text), Of(pattern));
#endif
    return ExactScanSse2(Of(text), Of(pattern));
}

bool UseWideVectors(bool use)
{
    const bool before = VectorWidth() == 2;
    g_vectorWidth.store(use && ProcessorHasAvx2() ? 2 : 1, std::memory_order_relaxed);
    return before;
}

bool TypoMatchEverywhere(std::string_view text, std::string_view pattern, int separation)
{
    if (text.empty() || pattern.empty()) return false;
    const int S = separation >= 1 && separation <= 9 ? separation : 2;
    for (size_t start = 0; start < text.size(); ++start)
        if (TypoFrom(Of(text), start, Of(pattern), S)) return true;
    return false;
}
