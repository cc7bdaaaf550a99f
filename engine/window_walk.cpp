#include <algorithm>
#include <bit>
#include <iterator>

#include "engine/batch_sizes.h"
#include "engine/cell_prefilter.h"
#include "engine/cell_prefilter_rules.h"
#include "engine/fast_classifier.h"
#include "engine/record_decoder.h"
#include "engine/record_scan_parts.h"
#include "engine/scan_input.h"
#include "engine/signature_templates.h"

namespace velkor {
namespace {

static_assert(kPrefilterLookAhead <= kWindowSlack, "the prefilter reads into the window's slack");

// Next offset at or after pos whose mark is set, or length; marks from
// length on are clear.
uint32_t NextMarked(const uint64_t* marks, uint32_t pos, uint32_t length) {
  while (pos < length) {
    const uint64_t word = marks[pos / 64] >> (pos % 64);
    if (word != 0) return pos + static_cast<uint32_t>(std::countr_zero(word));
    pos = (pos / 64 + 1) * 64;
  }
  return length;
}

// The window offset one past a candidate's last byte (lead varints and
// payload); past length for a cell cut by the window's end.
uint64_t CellEnd(const CellCandidate& c) {
  return c.offset + static_cast<uint64_t>(c.payloadLength.length + c.rowid.length) +
         c.payloadLength.value;
}

void ListWholeCells(WindowScratch& scratch) {
  scratch.wholeCells.clear();
  uint32_t maxEnd = 0;
  for (size_t i = 0; i < scratch.candidateCount; ++i) {
    const CellCandidate& c = scratch.candidates[i];
    const auto end = static_cast<uint32_t>(CellEnd(c));
    maxEnd = std::max(maxEnd, end);
    scratch.wholeCells.push_back({c.offset, end, maxEnd});
  }
}

// Every byte offset of the window is tested once, except the header bytes of
// an accepted cell, which the walk steps over (its body is tested again: a
// deleted cell's body may hold the start of an older cell). With the fast
// test, offsets the prefilter rules out are skipped: step 1 for the whole
// window, step 2 where the walk arrives. Both are necessary conditions of
// DetectCell, so the same cells are found. Accepted
// cells go to scratch.candidates in offset order; passed(pos) is called
// whenever every offset below pos has been tested.
template <typename Passed>
void WalkCells(const uint8_t* window, uint32_t length, bool fastCellTest, WindowScratch& scratch,
               Passed passed) {
  scratch.candidateCount = 0;
  const uint64_t* marks = nullptr;
  if (fastCellTest) {
    scratch.marks.resize(PrefilterWords(length));
    MarkPossibleCellStarts(window, length, scratch.marks.data());
    marks = scratch.marks.data();
  }
  uint32_t pos = marks ? NextMarked(marks, 0, length) : 0;
  while (pos < length) {
    // Each position is tested in the next free slot, which an accepted cell
    // then keeps.
    if (scratch.candidateCount == scratch.candidates.size()) scratch.candidates.emplace_back();
    CellCandidate& slot = scratch.candidates[scratch.candidateCount];
    const bool possible = !marks || prefilter::PayloadHoldsHeader(window + pos);
    if (possible && DetectCell(window + pos, static_cast<int32_t>(length - pos), slot)) {
      slot.offset = pos;
      pos += static_cast<uint32_t>(slot.payloadLength.length + slot.rowid.length) +
             static_cast<uint32_t>(slot.headerLength.value);
      ++scratch.candidateCount;
    } else {
      pos += 1;
    }
    if (marks) pos = NextMarked(marks, pos, length);
    passed(pos);
  }
}

// Classifies candidate i, decodes it when a template fits and extracts its
// record into batch (see CollectWindowRecords).
void CollectCell(uint8_t* window, uint32_t length, uint8_t platform, WindowScratch& scratch,
                 size_t i, RecordBatch& batch, const std::vector<ByteRange>& unreadable,
                 uint64_t windowOffset) {
  static const ClassifierMasks masks = BuildClassifierMasks(SignatureTemplates());
  const CellCandidate& candidate = scratch.candidates[i];
  const uint64_t cellStart = windowOffset + candidate.offset;
  const uint64_t cellEnd = windowOffset + CellEnd(candidate);
  if (!unreadable.empty() && Touches(unreadable, cellStart, cellEnd)) return;
  // The serial types alone tell which templates fit; the texts of a row
  // of some other table are never converted.
  const auto available = static_cast<int32_t>(length - candidate.offset);
  SignatureBits bits;
  ColumnMap& columns = scratch.columns;
  if (!LocateColumns(window + candidate.offset, available, candidate, columns, bits)) return;
  const TemplateSet fitting = FittingTemplates(masks, bits);
  if (fitting == 0) {
    // A later cell starting inside this one reads its texts as decoding
    // would have left them.
    const bool overlapped =
        i + 1 < scratch.candidateCount && scratch.candidates[i + 1].offset < cellEnd - windowOffset;
    if (overlapped) BlankTextColumns(columns);
    return;
  }
  BlankTextColumns(columns);
  const BatchSizes before(batch);
  ExtractFirstTaken(batch, platform, fitting, columns, candidate.rowid);
  StampOrigin(batch, before, cellStart, FoundBy::kCell);
}

}  // namespace

void FindCells(const uint8_t* window, uint32_t length, bool fastCellTest, WindowScratch& scratch) {
  WalkCells(window, length, fastCellTest, scratch, [](uint32_t) {});
}

// Decoding rewrites zero bytes of text fields in the window, so a cell is
// decoded only once the walk has tested every offset whose test reads its
// bytes: the tests read from their offset on, so every offset below the
// cell's end. Cells are still decoded in offset order, each seeing what the
// ones before it rewrote, exactly as when the whole window is walked first;
// a cell is collected while its candidate is fresh in the cache, and the
// slots of collected ones are reused. The deep scan walks the whole window
// first, since its freed cells are copied out before any decoding.
void CollectWindowRecords(uint8_t* window, uint32_t length, uint8_t platform, bool fastCellTest,
                          WindowScratch& scratch, RecordBatch& batch,
                          const std::vector<ByteRange>& unreadable, uint64_t windowOffset,
                          bool deep) {
  size_t collected = 0;
  auto collect = [&](size_t i) {
    CollectCell(window, length, platform, scratch, i, batch, unreadable, windowOffset);
  };
  if (deep) {
    FindCells(window, length, fastCellTest, scratch);
    ListWholeCells(scratch);
    FindFreedCells(window, length, scratch.wholeCells, scratch.freed);
  } else {
    WalkCells(window, length, fastCellTest, scratch, [&](uint32_t pos) {
      while (collected < scratch.candidateCount && CellEnd(scratch.candidates[collected]) <= pos) {
        collect(collected++);
      }
      if (collected == scratch.candidateCount) collected = scratch.candidateCount = 0;
    });
  }
  for (; collected < scratch.candidateCount; ++collected) collect(collected);
  if (deep) CollectFreedRecords(platform, scratch, batch, unreadable, windowOffset);
}

void CommitBatch(RecordBatch& batch, RecordStores& stores, ContactPartMap& parts, uint32_t file) {
  auto append = [file](auto& store, auto& records) { store.Append(records, file); };
  const size_t firstMessage = stores.sms.size();
  append(stores.sms, batch.smsRecords);
  append(stores.calls, batch.callRecords);
  append(stores.contactEvents, batch.contactEvents);
  append(stores.weChat, batch.weChatRecords);
  JoinMessageHandles(batch, firstMessage, stores.sms, parts);
  for (auto& [key, part] : batch.contactParts.parts) {
    if (part.mark != kMarkHandle) parts.emplace(key, std::move(part));
  }
  batch.Clear();
}

}  // namespace velkor
