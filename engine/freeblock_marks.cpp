#include "engine/freeblock_marks.h"

#include <cstring>

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
  const Flag num4 = b[0] <= 9, num5 = b[1] <= 9, num6 = b[2] <= 9, num7 = b[3] <= 9;
  const Flag num8 = b[4] <= 9;
  const Byte header = b[0] - 6;
  four = Flag(header <= kMaxFreedHeader - 6) & num5 & (num6 | num7 | num8);
  three = num4 & (num5 | num6 | num7 | num8);
  const Byte high01 = b[0] < b[1] ? b[1] : b[0];
  const Byte high23 = b[2] < b[3] ? b[3] : b[2];
  const Byte high = high01 < high23 ? high23 : high01;
  two = Flag(high <= 0x81) & (num4 | num5 | num6 | num7);
}

// Thirty-two bytes as one vector value: two SSE2 registers or one AVX2
// register. Vectors go by reference, as a 32-byte vector argument or result
// passes differently in the AVX2 clone than in the baseline.
using Bytes32 = uint8_t __attribute__((vector_size(32)));
using Mask32 = int8_t __attribute__((vector_size(32)));

[[gnu::always_inline]] inline void Load(const uint8_t* p, Bytes32& v) {
  std::memcpy(&v, p, sizeof v);
}

// Bit i set where byte i of the mask is set.
[[gnu::always_inline]] inline uint32_t MaskBits(const Mask32& mask) {
#if defined(__SSE2__)
  __m128i halves[2];
  std::memcpy(halves, &mask, sizeof halves);
  return static_cast<uint32_t>(_mm_movemask_epi8(halves[0])) |
         static_cast<uint32_t>(_mm_movemask_epi8(halves[1])) << 16;
#else
  uint32_t bits = 0;
  for (int i = 0; i < 32; ++i) bits |= static_cast<uint32_t>(mask[i] != 0) << i;
  return bits;
#endif
}

// Whether the bytes [0, n) are zeros, reading whole blocks of 64.
[[gnu::always_inline]] inline bool Zeros(const uint8_t* w, uint32_t n) {
  for (uint32_t at = 0; at < n; at += 64) {
    Bytes32 low, high;
    Load(w + at, low);
    Load(w + at + 32, high);
    if (MaskBits((low | high) != 0) != 0) return false;
  }
  return true;
}

}  // namespace

uint8_t PossibleCases(const uint8_t* b) {
  bool four = false, three = false, two = false;
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

// Each 32 positions are tested side by side, every test for all of them:
// a branch per vector on whether some position passed the header tests
// costs more in mispredictions than the case tests it would spare. Zeros
// have no size: a chunk of them costs one OR per vector. target_clones
// picks AVX2 at run time where the processor has it.
VELKOR_AVX2_CLONES bool MarkFreedCellStarts(const uint8_t* w, uint32_t n, uint64_t* marks) {
  if (Zeros(w, n + 8)) {
    std::memset(marks, 0, (n + 63) / 64 * sizeof *marks);
    return false;
  }
  uint64_t any = 0;
  for (uint32_t f = 0; f < n; f += 32) {
    Bytes32 n0, s0, s1, t[5];
    Load(w + f, n0);
    Load(w + f + 2, s0);
    Load(w + f + 3, s1);
    Load(w + f + 4, t[0]);
    Load(w + f + 5, t[1]);
    Load(w + f + 6, t[2]);
    Load(w + f + 7, t[3]);
    // Both fields' high bytes inside a page, the next freeblock's high byte
    // not below the size's unless it is zero, and a size: necessary parts of
    // the header tests. Bytes below 128, as inPage makes them, compare the
    // same signed, which SSE2 has.
    const Mask32 inPage = ((n0 | s0) & kBeyondPage) == 0;
    const Mask32 ordered =
        (reinterpret_cast<const Mask32&>(s0) <= reinterpret_cast<const Mask32&>(n0)) | (n0 == 0);
    const Mask32 sized = (s0 | s1) != 0;
    Load(w + f + 8, t[4]);
    Mask32 four, three, two;
    TestCases(t, four, three, two);
    uint64_t bits = MaskBits(inPage & ordered & sized & (four | three | two));
    if (n - f < 32) bits &= (uint64_t{1} << (n - f)) - 1;
    marks[f / 64] = f % 64 == 0 ? bits : marks[f / 64] | bits << 32;
    any |= bits;
  }
  return any != 0;
}

}  // namespace velkor
