#include "engine/freeblock_cells.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>

#include "engine/freeblock_marks.h"
#include "engine/record_scan_parts.h"
#include "engine/scan_input.h"
#include "engine/signature_templates.h"

namespace velkor {
namespace {

// Free space and whole cells a freeblock may hold after the freed cell.
constexpr int kMaxChainSteps = 16;
// Positions are marked a chunk at a time.
constexpr uint32_t kFlagChunk = 4096;
// The readings tried at each position, most checked first: k, and with k = 2
// the rebuilt first type, NULL or an integer type of each body size. Each
// needs its bit among the cases a position can be (PossibleCases).
struct Reading {
  uint32_t leadLost, lostType;
  uint8_t flag;
};
constexpr Reading kReadings[] = {{4, 0, kMayBeFour},
                                 {3, 0, kMayBeThree},
                                 {2, 0, kMayBeTwo},
                                 {2, 1, kMayBeTwoAfterInteger},
                                 {2, 2, kMayBeTwoAfterInteger},
                                 {2, 3, kMayBeTwoAfterInteger},
                                 {2, 4, kMayBeTwoAfterInteger},
                                 {2, 5, kMayBeTwoAfterInteger},
                                 {2, 6, kMayBeTwoAfterInteger}};

uint32_t BigEndian16(const uint8_t* bytes) {
  return static_cast<uint32_t>(bytes[0]) << 8 | bytes[1];
}

// The classifier's templates in the form the type walk needs: per column
// position and type code, the templates that forbid that code there; per
// column count, the templates that admit it.
struct WalkTables {
  std::array<std::array<TemplateSet, 4>, kMaxDecodedColumns> forbidding{};
  std::array<TemplateSet, kMaxColumns + 1> admitting{};
  TemplateSet needRowid = 0;
  TemplateSet firstNotRowid = 0;

  bool AnyAdmits(TemplateSet set, uint32_t columns) const {
    return (set & admitting[columns]) != 0;
  }
};

const WalkTables& Tables() {
  static const WalkTables tables = [] {
    WalkTables t;
    const ClassifierMasks masks = BuildClassifierMasks(SignatureTemplates());
    for (size_t k = 0; k < kTemplateCount; ++k) {
      for (size_t i = 0; i < kMaxDecodedColumns; ++i) {
        const uint64_t bits = masks.forbidden[k][i / 16] >> (4 * (i % 16));
        for (size_t code = 0; code < 4; ++code) {
          if ((bits >> code) & 1u) t.forbidding[i][code] |= TemplateSet{1} << k;
        }
      }
      const RecordCategory category = masks.category[k];
      const SignatureTemplate& codes = SignatureTemplates()[category - 1];
      uint32_t length = 0;
      while (length < TemplateLimit(category) && codes[length] != 0) ++length;
      const uint32_t fewest = std::max(length, masks.gate[k].minColumns);
      for (uint32_t c = fewest; c <= std::min<uint32_t>(masks.gate[k].maxColumns, kMaxColumns);
           ++c) {
        t.admitting[c] |= TemplateSet{1} << k;
      }
    }
    // The person and handle rows are keyed by their rowid.
    t.needRowid = TemplatesOf({12, kCategoryIosHandle});
    // The chat message's first column is an ordinary integer, not the rowid.
    t.firstNotRowid = TemplatesOf({15});
    return t;
  }();
  return tables;
}

// The window's accepted cells, with a bit per byte offset where one starts
// so that most positions need no search.
struct CellIndex {
  const std::vector<WholeCell>& cells;
  const std::vector<uint64_t>& startBits;

  // The length of the accepted cell starting at pos; 0 when none does.
  uint32_t LengthAt(uint32_t pos) const {
    if (pos / 64 >= startBits.size() || ((startBits[pos / 64] >> (pos % 64)) & 1u) == 0) return 0;
    const auto cell =
        std::lower_bound(cells.begin(), cells.end(), pos,
                         [](const WholeCell& c, uint32_t at) { return c.start < at; });
    return cell != cells.end() && cell->start == pos ? cell->end - pos : 0;
  }
};

// Invariant of the chain: pos is the first byte after a cell or a block of
// free space inside the freeblock, and remaining the freeblock's bytes from
// pos on. Each step passes a fragment of 0 to 3 bytes (SQLite merges free
// space across gaps that small) and then a stale freeblock header's block or
// a whole cell. The freed cell holds only when the steps end exactly at the
// freeblock's end. Gives the first step's fragment, or -1 when the steps do
// not end there.
int FreeblockEndsAfter(const uint8_t* w, uint32_t readable, uint32_t pos, uint32_t remaining,
                       const CellIndex& wholeCells) {
  int firstGap = 0;
  for (int step = 0; step < kMaxChainSteps; ++step) {
    if (remaining == 0) return firstGap;
    bool advanced = false;
    for (uint32_t gap = 0; gap <= 3 && gap + 4 <= remaining && !advanced; ++gap) {
      const uint32_t at = pos + gap;
      if (at + 8 > readable) return -1;
      const uint32_t next = BigEndian16(w + at);
      const uint32_t size = BigEndian16(w + at + 2);
      uint32_t block = 0;
      if (size >= 4 && size <= remaining - gap && (next == 0 || next > size)) {
        block = size;
      } else {
        const uint32_t cell = wholeCells.LengthAt(at);
        if (cell <= remaining - gap) block = cell;
      }
      if (block != 0) {
        if (step == 0) firstGap = static_cast<int>(gap);
        pos = at + block;
        remaining -= gap + block;
        advanced = true;
      }
    }
    if (!advanced) return -1;
  }
  return remaining == 0 ? firstGap : -1;
}

// How well a freeblock bears a reading out, best last.
enum ReadingFit { kNoReading = 0, kAfterFragment, kGapless, kExact };

// The freeblock at one position, which all its readings share. Readings of
// one position often end their cells at the same length (k = 3 and k = 2
// after a NULL always do), so the chain's answer for each length is kept in
// a table indexed by the length's low bits, whose entries count only when
// stamped with this position's number.
class FreeblockAt {
 public:
  FreeblockAt(const uint8_t* w, uint32_t readable, uint32_t offset, const CellIndex& wholeCells,
              FreedCellScratch& scratch)
      : w_(w),
        readable_(readable),
        offset_(offset),
        size_(BigEndian16(w + offset + 2)),
        wholeCells_(wholeCells),
        chains_(scratch.chains),
        stamp_(++scratch.chainStamp) {}

  const uint8_t* Window() const { return w_; }
  uint32_t Readable() const { return readable_; }
  uint32_t Offset() const { return offset_; }
  uint32_t Size() const { return size_; }

  // FreeblockEndsAfter for the bytes after a freed cell of this length.
  int EndsAfter(uint32_t length) {
    ChainEnd& known = chains_[length % chains_.size()];
    if (known.stamp != stamp_ || known.length != length) {
      known = {stamp_, length,
               FreeblockEndsAfter(w_, readable_, offset_ + length, size_ - length, wholeCells_)};
    }
    return known.gap;
  }

 private:
  const uint8_t* w_;
  uint32_t readable_, offset_, size_;
  const CellIndex& wholeCells_;
  std::array<ChainEnd, 64>& chains_;
  uint64_t stamp_;
};

// What a walk found: how well the freeblock closes around the cell, and
// whether the types alone allowed an end at some column (the sizes aside).
struct WalkEnd {
  int fit = kNoReading;
  bool typesAdmitted = false;
};

// Walks the surviving serial types of a cell freed with k = leadLost and
// fills cell on success.
// Invariant of the walk: every type read so far fits at least one template
// not refused for this reading at its column, 1 + typeBytes is the header
// length the types read so far make, and k + header + body never exceeds
// the freeblock. With k = 4 the header length is known and the walk must end
// exactly there; otherwise each column count from kMinColumns on is a
// possible end: the first the freeblock goes on from without a fragment
// wins, else the first it goes on from after one (ending a walk early by a
// few NULL types shifts the bodies by as many bytes, so a fragment is the
// weaker evidence).
WalkEnd WalkFreedCell(FreeblockAt& block, uint32_t k, uint32_t lostType, FreedCell& cell) {
  const WalkTables& t = Tables();
  const uint8_t* w = block.Window();
  const uint32_t readable = block.Readable(), offset = block.Offset(), freeSize = block.Size();
  TemplateSet fitting = TemplateSet(~t.needRowid) & ((TemplateSet{1} << kTemplateCount) - 1);
  uint32_t pos = offset + 4;
  uint32_t column = 0;
  uint32_t typeBytes = 0;  // header bytes after the header-length byte
  uint32_t knownEnd = 0;
  if (k == 4) {
    const uint32_t header = w[pos];
    if (header < 1 + kMinSerialBytes || header > kMaxFreedHeader) return {};
    ++pos;
    knownEnd = pos + header - 1;
  } else if (k == 2) {
    fitting &= lostType == 0 ? ~t.forbidding[0][kTypeNull] : t.firstNotRowid;
    column = 1;
    typeBytes = 1;
  }
  const uint32_t maxPayload = k == 2 ? 127 : static_cast<uint32_t>(kMaxPayload);
  uint64_t body = SerialTypeContentSize(lostType);
  WalkEnd end;
  bool fallback = false;
  while (fitting != 0 && column < static_cast<uint32_t>(kMaxColumns)) {
    if (pos + 4 > readable) break;
    Varint type;
    if (!ReadVarint(w + pos, type)) break;
    if (type.value == 10 || type.value == 11 || (column == 0 && type.value >= 10)) break;
    const uint8_t code = type.value == 0 ? kTypeNull : type.value < 10 ? kTypeNumber : kTypeText;
    if (column < kMaxDecodedColumns) fitting &= ~t.forbidding[column][code];
    body += SerialTypeContentSize(type.value);
    pos += static_cast<uint32_t>(type.length);
    typeBytes += static_cast<uint32_t>(type.length);
    ++column;
    const uint64_t payload = 1 + typeBytes + body;
    if (1 + typeBytes > kMaxFreedHeader || payload > maxPayload || k + payload > freeSize) break;
    if (k == 4 && pos < knownEnd) continue;
    if (k == 4 && pos != knownEnd) return {};
    const bool typesFit = typeBytes >= kMinSerialBytes &&
                          column >= static_cast<uint32_t>(kMinColumns) &&
                          t.AnyAdmits(fitting, column);
    end.typesAdmitted = end.typesAdmitted || typesFit;
    if (!typesFit || payload < kMinPayload || offset + k + payload > readable) {
      if (k == 4) return {};
      continue;
    }
    const auto length = k + static_cast<uint32_t>(payload);
    const int gap = block.EndsAfter(length);
    if (gap >= 0 && !(gap > 0 && fallback)) {
      cell = FreedCell{offset, k, lostType, freeSize, length, pos, 0, 0};
      if (gap == 0) {
        end.fit = length == freeSize ? kExact : kGapless;
        return end;
      }
      fallback = true;
    }
    if (k == 4) break;
  }
  end.fit = fallback ? kAfterFragment : kNoReading;
  return end;
}

void AppendVarint(std::vector<uint8_t>& out, uint32_t value) {
  if (value >= 128) out.push_back(static_cast<uint8_t>(0x80 | (value >> 7)));
  out.push_back(static_cast<uint8_t>(value & 0x7F));
}

// The cell as the page held it before the delete, with rowid 0 for the lost
// one and NULL for a lost first type.
void Rebuild(const uint8_t* w, FreedCell& cell, std::vector<uint8_t>& arena) {
  const uint32_t typesStart = cell.offset + 4 + (cell.leadLost == 4 ? 1 : 0);
  const uint32_t typeBytes = cell.headerEnd - typesStart;
  const uint32_t header = 1 + typeBytes + (cell.leadLost == 2 ? 1 : 0);
  const uint32_t payload = cell.cellLength - cell.leadLost;
  cell.rebuiltAt = static_cast<uint32_t>(arena.size());
  AppendVarint(arena, payload);
  arena.push_back(0);
  arena.push_back(static_cast<uint8_t>(header));
  if (cell.leadLost == 2) arena.push_back(static_cast<uint8_t>(cell.lostType));
  arena.insert(arena.end(), w + typesStart, w + cell.offset + cell.cellLength);
  cell.rebuiltLength = static_cast<uint32_t>(arena.size()) - cell.rebuiltAt;
  arena.insert(arena.end(), kRebuiltPad, 0);
}

// Tries the readings the position's bytes allow and keeps the best: a cell
// the freeblock ends with exactly beats one it holds more after, and that
// one a cell followed by a fragment. Readings alike in that are all kept, in
// trial order, for the extraction to choose from (CollectFreedRecords).
// Gives the first byte after the kept readings' headers, or 0 when
// none holds.
uint32_t ReadFreedCellAt(const uint8_t* window, uint32_t readable, uint32_t f,
                         const CellIndex& index, FreedCellScratch& scratch) {
  FreeblockAt block(window, readable, f, index, scratch);
  uint8_t cases = PossibleCases(window + f);
  // The chat template, whose first column is an integer, has a text at
  // column 1.
  const uint8_t first = window[f + 4];
  if ((cases & kMayBeTwo) != 0 && (first == 0 || first >= 12)) cases |= kMayBeTwoAfterInteger;
  std::array<FreedCell, std::size(kReadings)>& readings = scratch.readings;
  size_t kept = 0;
  int best = kNoReading;
  for (const auto& [k, lostType, flag] : kReadings) {
    if ((cases & flag) == 0) continue;
    FreedCell& reading = readings[kept];
    const WalkEnd end = WalkFreedCell(block, k, lostType, reading);
    // The integer readings come in ascending body size: a larger body ends
    // the walk at the same column or sooner, and the types are the same, so
    // where they allowed no end none of the later readings holds.
    if (flag == kMayBeTwoAfterInteger && !end.typesAdmitted) cases &= ~kMayBeTwoAfterInteger;
    if (end.fit == kNoReading || end.fit < best) continue;
    if (end.fit > best) {
      readings[0] = reading;
      kept = 0;
    }
    best = end.fit;
    ++kept;
  }
  uint32_t resume = 0;
  for (size_t r = 0; r < kept; ++r) {
    Rebuild(window, readings[r], scratch.rebuilt);
    scratch.cells.push_back(readings[r]);
    resume = r == 0 ? readings[r].headerEnd : std::min(resume, readings[r].headerEnd);
  }
  return resume;
}

}  // namespace

TemplateSet RefusedForFreedCell(const FreedCell& cell) {
  const WalkTables& t = Tables();
  return cell.lostType == 0 ? t.needRowid : TemplateSet(~t.firstNotRowid);
}

// Invariant: positions are tested in ascending order and a freed cell found
// at f moves the walk past its serial types, as the whole-cell walk steps
// over an accepted header. A freed cell is never taken where an accepted
// cell holds its start, so only the stretches between accepted cells are
// marked (dense pages are almost all cells), a chunk at a time into a
// buffer that stays in the first-level cache while its marks are read.
void FindFreedCells(const uint8_t* window, uint32_t length,
                    const std::vector<WholeCell>& wholeCells, FreedCellScratch& scratch) {
  scratch.cells.clear();
  scratch.rebuilt.clear();
  const uint32_t readable = length + kWindowSlack;
  scratch.cellStarts.assign(static_cast<size_t>(readable) / 64 + 1, 0);
  for (const WholeCell& c : wholeCells) {
    scratch.cellStarts[c.start / 64] |= uint64_t{1} << (c.start % 64);
  }
  const CellIndex index{wholeCells, scratch.cellStarts};
  uint64_t marks[kFlagChunk / 64];
  size_t cellsBefore = 0;  // accepted cells starting at or before pos
  uint32_t pos = 0;        // the first position still to test
  while (pos < length) {
    while (cellsBefore < wholeCells.size() && wholeCells[cellsBefore].start <= pos) ++cellsBefore;
    if (cellsBefore > 0 && wholeCells[cellsBefore - 1].maxEnd > pos) {
      pos = wholeCells[cellsBefore - 1].maxEnd;
      continue;
    }
    const uint32_t nextCell =
        cellsBefore < wholeCells.size() ? wholeCells[cellsBefore].start : length;
    const uint32_t end = std::min({nextCell, length, pos + kFlagChunk});
    const uint32_t n = end - pos;
    uint32_t resume = end;
    if (MarkFreedCellStarts(window + pos, n, marks)) {
      uint32_t from = 0;  // positions before it are passed
      for (uint32_t word = 0; word < (n + 63) / 64; ++word) {
        for (uint64_t bits = marks[word]; bits != 0; bits &= bits - 1) {
          const uint32_t i = word * 64 + static_cast<uint32_t>(__builtin_ctzll(bits));
          if (i < from || !MayStartFreedCell(window + pos + i)) continue;
          const uint32_t headerEnd = ReadFreedCellAt(window, readable, pos + i, index, scratch);
          if (headerEnd != 0) from = headerEnd - pos;
        }
      }
      resume = std::max(end, pos + from);
    }
    pos = resume;
  }
}

}  // namespace velkor
