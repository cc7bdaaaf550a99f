#include "engine/freeblock_marks.h"

#include <cstring>
#include <iterator>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "engine/cell_detector.h"
#include "engine/vector_clones.h"

namespace velkor {
namespace {

// The smallest cell the cell test accepts: a one-byte P and R before the
// smallest payload.
constexpr uint32_t kMinFreedCell = 2 + kMinPayload;
// The high byte of a freeblock header's fields inside a page has none of
// these bits.
constexpr uint8_t kBeyondPage = 0x100 - kMaxFreeblockPage / 256;

// Bytes side by side in vectors of the width an instruction set handles
// whole: 16 for SSE2, 32 for AVX2 (wider vectors the compiler would take
// apart byte by byte). Every function below that takes or gives one is
// inlined into MarkWith's callers, so no call passes a vector and the note
// that 32-byte vectors pass differently with AVX does not apply.
#pragma GCC diagnostic ignored "-Wpsabi"
struct Sse2 {
  using Bytes = uint8_t __attribute__((vector_size(16)));
};
struct Avx2 {
  using Bytes = uint8_t __attribute__((vector_size(32)));
};

// x <= most, the bytes unsigned. For vectors, flipping the top bit turns the
// unsigned order into the signed one, which SSE2's compares have (without
// them the baseline build compares byte by byte).
[[gnu::always_inline]] inline uint8_t AtMost(uint8_t x, uint8_t most) {
  return x <= most;
}
template <typename Bytes>
[[gnu::always_inline]] inline auto AtMost(Bytes x, uint8_t most) {
  using Mask = decltype(x == x);
  return (Mask)(x ^ 0x80) < static_cast<int8_t>((most ^ 0x80) + 1);
}

// The tests of PossibleCases on the five bytes b[0..4] after a freeblock
// header, written once for one position (uint8_t bytes, bool flags) and
// for 32 positions side by side (vectors of bytes, byte masks). With k = 4
// a header length and a number or NULL type for column 0 follow the
// header, with k = 3 that type at once; every template that can be rebuilt
// has a number at one of columns 1 to 3, after at most one two-byte type.
// With k = 2 the payload is under 128 bytes, so no type byte exceeds 0x81
// and at most one type takes two bytes (two texts of 58 bytes or more
// leave no room for the columns of a template that has them). Branch-free,
// as most positions tested fail.
template <typename Byte, typename Flag>
[[gnu::always_inline]] inline void TestCases(const Byte* b, Flag& four, Flag& three, Flag& two) {
  const Flag num4 = AtMost(b[0], 9), num5 = AtMost(b[1], 9), num6 = AtMost(b[2], 9);
  const Flag num7 = AtMost(b[3], 9), num8 = AtMost(b[4], 9);
  const Byte header = b[0] - 6;
  four = AtMost(header, kMaxFreedHeader - 6) & num5 & (num6 | num7 | num8);
  three = num4 & (num5 | num6 | num7 | num8);
  two = AtMost(b[0], 0x81) & AtMost(b[1], 0x81) & AtMost(b[2], 0x81) & AtMost(b[3], 0x81) &
        (num4 | num5 | num6 | num7);
}

template <typename Bytes>
[[gnu::always_inline]] inline Bytes Load(const uint8_t* p) {
  Bytes v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

// Bit i set where byte i of the mask is set.
template <typename Mask>
[[gnu::always_inline]] inline uint64_t MaskBits(const Mask& mask) {
  uint64_t bits = 0;
#if defined(__SSE2__)
  __m128i parts[sizeof mask / 16];
  std::memcpy(parts, &mask, sizeof parts);
  for (size_t q = 0; q < std::size(parts); ++q) {
    bits |= uint64_t{static_cast<uint16_t>(_mm_movemask_epi8(parts[q]))} << (16 * q);
  }
#else
  for (size_t i = 0; i < sizeof mask; ++i) bits |= uint64_t{mask[i] != 0} << i;
#endif
  return bits;
}

// Whether the bytes [0, n) are zeros, reading whole blocks of 64.
template <typename Bytes>
[[gnu::always_inline]] inline bool Zeros(const uint8_t* w, uint32_t n) {
  for (uint32_t at = 0; at < n; at += 64) {
    Bytes any = Load<Bytes>(w + at);
    for (uint32_t i = sizeof any; i < 64; i += sizeof any) any |= Load<Bytes>(w + at + i);
    if (MaskBits(any != 0) != 0) return false;
  }
  return true;
}

// Each vector of positions is tested side by side, every test for all of
// them: a branch per vector on whether some position passed the header
// tests costs more in mispredictions than the case tests it would spare.
// Zeros have no size: a chunk of them costs one OR per vector.
template <typename Set>
[[gnu::always_inline]] inline bool MarkWith(const uint8_t* w, uint32_t n, uint64_t* marks) {
  using Bytes = typename Set::Bytes;
  using Mask = decltype(Bytes{} == Bytes{});
  constexpr uint32_t kLanes = sizeof(Bytes);
  if (Zeros<Bytes>(w, n + 8)) {
    std::memset(marks, 0, (n + 63) / 64 * sizeof *marks);
    return false;
  }
  uint64_t any = 0;
  for (uint32_t f = 0; f < n; f += kLanes) {
    const Bytes n0 = Load<Bytes>(w + f), s0 = Load<Bytes>(w + f + 2), s1 = Load<Bytes>(w + f + 3);
    const Bytes t[5] = {Load<Bytes>(w + f + 4), Load<Bytes>(w + f + 5), Load<Bytes>(w + f + 6),
                        Load<Bytes>(w + f + 7), Load<Bytes>(w + f + 8)};
    // Both fields' high bytes inside a page, the next freeblock's high byte
    // not below the size's unless it is zero, and a size: necessary parts of
    // the header tests. Bytes below 128, as inPage makes them, compare the
    // same signed.
    const Mask inPage = ((n0 | s0) & kBeyondPage) == 0;
    const Mask ordered = ((Mask)s0 <= (Mask)n0) | (n0 == 0);
    const Mask sized = (s0 | s1) != 0;
    Mask four, three, two;
    TestCases(t, four, three, two);
    uint64_t bits = MaskBits(inPage & ordered & sized & (four | three | two));
    if (n - f < kLanes) bits &= (uint64_t{1} << (n - f)) - 1;
    marks[f / 64] = (f % 64 == 0 ? 0 : marks[f / 64]) | bits << (f % 64);
    any |= bits;
  }
  return any != 0;
}

VELKOR_AVX2_TARGET bool MarkWithAvx2(const uint8_t* w, uint32_t n, uint64_t* marks) {
  return MarkWith<Avx2>(w, n, marks);
}

}  // namespace

uint8_t PossibleCases(const uint8_t* b) {
  uint8_t four = 0, three = 0, two = 0;
  TestCases(b + 4, four, three, two);
  return static_cast<uint8_t>((four ? kMayBeFour : 0) | (three ? kMayBeThree : 0) |
                              (two ? kMayBeTwo : 0));
}

bool MayStartFreedCell(const uint8_t* b) {
  const uint8_t n0 = b[0], n1 = b[1], s0 = b[2], s1 = b[3];
  const uint8_t sizeOk = ((s0 != 0) | (s1 >= kMinFreedCell)) & ((s0 & kBeyondPage) == 0);
  const uint8_t nextOk =
      (((n0 | n1) == 0) | (n0 > s0) | ((n0 == s0) & (n1 > s1))) & ((n0 & kBeyondPage) == 0);
  return (sizeOk & nextOk) != 0 && PossibleCases(b) != 0;
}

// The AVX2 build of the tests where the processor has it and the build
// chooses at run time (VELKOR_AVX2_CLONES), else the SSE2 one.
bool MarkFreedCellStarts(const uint8_t* w, uint32_t n, uint64_t* marks) {
  static const bool avx2 = VELKOR_RUNS_AVX2();
  return avx2 ? MarkWithAvx2(w, n, marks) : MarkWith<Sse2>(w, n, marks);
}

}  // namespace velkor
