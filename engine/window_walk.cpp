#include <algorithm>
#include <cstring>
#include <iterator>

#include "engine/cell_prefilter.h"
#include "engine/fast_classifier.h"
#include "engine/record_decoder.h"
#include "engine/record_scan_parts.h"
#include "engine/signature_templates.h"

namespace velkor {
namespace {

// Next position at or after pos whose flag is set; flags end with 8 zero
// bytes past length, so a word read never runs beyond the array. Chunks the
// prefilter found empty are stepped over whole.
uint32_t NextFlagged(const uint8_t* flags, const uint8_t* chunkMarks, uint32_t pos,
                     uint32_t length) {
  while (pos < length) {
    if (chunkMarks[pos / kPrefilterChunk] == 0) {
      pos = (pos / kPrefilterChunk + 1) * kPrefilterChunk;
      continue;
    }
    uint64_t word;
    std::memcpy(&word, flags + pos, sizeof word);
    if (word == 0) {
      pos += 8;
      continue;
    }
    return pos + static_cast<uint32_t>(__builtin_ctzll(word) / 8);
  }
  return length;
}

// The records one cell gave are the ones appended while it was extracted;
// the sizes before it mark where they start.
struct BatchSizes {
  size_t sms, calls, contactEvents, weChat, parts;
  explicit BatchSizes(const RecordBatch& b)
      : sms(b.smsRecords.size()),
        calls(b.callRecords.size()),
        contactEvents(b.contactEvents.size()),
        weChat(b.weChatRecords.size()),
        parts(b.contactParts.parts.size()) {}
};

void StampOrigin(RecordBatch& batch, const BatchSizes& before, uint64_t cellStart, FoundBy found) {
  auto stamp = [cellStart, found](auto& records, size_t from) {
    for (size_t i = from; i < records.size(); ++i) {
      records[i].origin.offset = cellStart;
      records[i].origin.found = found;
    }
  };
  stamp(batch.smsRecords, before.sms);
  stamp(batch.callRecords, before.calls);
  stamp(batch.contactEvents, before.contactEvents);
  stamp(batch.weChatRecords, before.weChat);
  auto& parts = batch.contactParts.parts;
  for (size_t i = before.parts; i < parts.size(); ++i) {
    parts[i].second.offset = cellStart;
    parts[i].second.found = found;
  }
}

bool Grew(const RecordBatch& batch, const BatchSizes& before) {
  return batch.smsRecords.size() != before.sms || batch.callRecords.size() != before.calls ||
         batch.contactEvents.size() != before.contactEvents ||
         batch.weChatRecords.size() != before.weChat ||
         batch.contactParts.parts.size() != before.parts;
}

// Whole cells are taken in walk order, so their starts ascend and the cells
// starting before end are a prefix; one of them reaches past start exactly
// when the largest end of that prefix does.
bool OverlapsTaken(const std::vector<WindowScratch::TakenCell>& taken, uint32_t start,
                   uint32_t end) {
  auto after = std::partition_point(taken.begin(), taken.end(),
                                    [end](const WindowScratch::TakenCell& c) { return c.start < end; });
  return after != taken.begin() && std::prev(after)->maxEnd > start;
}

// The freed cells' records, decoded from their rebuilt copies; a freed cell
// never stands in for or beside a whole cell that gave a record.
void CollectFreedRecords(uint8_t platform, WindowScratch& scratch, RecordBatch& batch,
                         const std::vector<ByteRange>& unreadable, uint64_t windowOffset,
                         const ClassifierMasks& masks) {
  TypeSignature signature;
  CellCandidate candidate;
  uint32_t takenAt = UINT32_MAX;  // offset whose reading already gave a record
  for (const FreedCell& cell : scratch.freed.cells) {
    const uint64_t cellStart = windowOffset + cell.offset;
    if (cell.offset == takenAt) continue;
    if (OverlapsTaken(scratch.taken, cell.offset, cell.offset + cell.cellLength)) continue;
    if (!unreadable.empty() && Touches(unreadable, cellStart, cellStart + cell.cellLength)) {
      continue;
    }
    uint8_t* rebuilt = scratch.freed.rebuilt.data() + cell.rebuiltAt;
    const auto available = static_cast<int32_t>(cell.rebuiltLength);
    candidate.serialTypes.clear();
    if (!DetectCell(rebuilt, available, candidate)) continue;
    if (!DecodeColumns(rebuilt, available, candidate, scratch.columns, signature)) continue;
    const auto count = static_cast<uint32_t>(candidate.serialTypes.size());
    const BatchSizes before(batch);
    ExtractFirstTaken(batch, platform, FittingTemplates(masks, ToSignatureBits(signature, count)),
                      scratch.columns, candidate.rowid, RefusedForFreedCell(cell));
    StampOrigin(batch, before, cellStart, FoundBy::kFreeblock);
    if (Grew(batch, before)) takenAt = cell.offset;
  }
}

}  // namespace

// Every byte offset of the window is tested once, except the header bytes of
// an accepted cell, which the walk steps over (its body is tested again: a
// deleted cell's body may hold the start of an older cell). With the fast
// test, offsets the prefilter rules out are skipped; the prefilter is a
// necessary condition of DetectCell, so the same cells are found.
void FindCells(const uint8_t* window, uint32_t length, bool fastCellTest, WindowScratch& scratch) {
  scratch.candidateCount = 0;
  const uint8_t* flags = nullptr;
  if (fastCellTest) {
    scratch.flags.resize(static_cast<size_t>(length) + 8);
    scratch.chunkMarks.resize(PrefilterChunks(length));
    MarkPossibleCellStarts(window, length, scratch.flags.data(), scratch.chunkMarks.data());
    flags = scratch.flags.data();
  }
  const uint8_t* marks = scratch.chunkMarks.data();
  CellCandidate working;
  uint32_t pos = flags ? NextFlagged(flags, marks, 0, length) : 0;
  while (pos < length) {
    working.serialTypes.clear();
    if (DetectCell(window + pos, static_cast<int32_t>(length - pos), working)) {
      working.offset = pos;
      pos += static_cast<uint32_t>(working.payloadLength.length + working.rowid.length) +
             static_cast<uint32_t>(working.headerLength.value);
      // Swapping hands the candidate over without copying its serial types;
      // the working one takes a spent list to fill next.
      if (scratch.candidateCount == scratch.candidates.size()) scratch.candidates.emplace_back();
      std::swap(scratch.candidates[scratch.candidateCount++], working);
    } else {
      pos += 1;
    }
    if (flags) pos = NextFlagged(flags, marks, pos, length);
  }
}

// Candidates are decoded only after the whole window has been walked,
// because decoding rewrites zero bytes of text fields in the window; the
// freed cells are copied out before that for the same reason.
void CollectWindowRecords(uint8_t* window, uint32_t length, uint8_t platform, bool fastCellTest,
                          WindowScratch& scratch, RecordBatch& batch,
                          const std::vector<ByteRange>& unreadable, uint64_t windowOffset,
                          bool deep) {
  FindCells(window, length, fastCellTest, scratch);
  scratch.taken.clear();
  if (deep) FindFreedCells(window, length, scratch.freed);
  static const ClassifierMasks masks = BuildClassifierMasks(SignatureTemplates());
  TypeSignature signature;
  ColumnMap& columns = scratch.columns;
  for (size_t i = 0; i < scratch.candidateCount; ++i) {
    CellCandidate& candidate = scratch.candidates[i];
    const uint64_t cellStart = windowOffset + candidate.offset;
    const uint64_t cellEnd = cellStart + static_cast<uint64_t>(candidate.payloadLength.length) +
                             static_cast<uint64_t>(candidate.rowid.length) +
                             candidate.payloadLength.value;
    if (!unreadable.empty() && Touches(unreadable, cellStart, cellEnd)) {
      candidate.serialTypes.clear();
      continue;
    }
    if (DecodeColumns(window + candidate.offset, static_cast<int32_t>(length - candidate.offset),
                      candidate, columns, signature)) {
      const auto count = static_cast<uint32_t>(candidate.serialTypes.size());
      const BatchSizes before(batch);
      ExtractFirstTaken(batch, platform, FittingTemplates(masks, ToSignatureBits(signature, count)),
                        columns, candidate.rowid);
      StampOrigin(batch, before, cellStart, FoundBy::kCell);
      if (deep && Grew(batch, before)) {
        const auto end = static_cast<uint32_t>(cellEnd - windowOffset);
        const uint32_t maxEnd = scratch.taken.empty() ? end : std::max(end, scratch.taken.back().maxEnd);
        scratch.taken.push_back({candidate.offset, end, maxEnd});
      }
    }
    candidate.serialTypes.clear();
  }
  if (deep) CollectFreedRecords(platform, scratch, batch, unreadable, windowOffset, masks);
}

void CommitBatch(RecordBatch& batch, RecordStores& stores, ContactPartMap& parts, uint32_t file) {
  auto append = [file](auto& store, auto& records) {
    for (auto& record : records) record.origin.file = file;
    store.insert(store.end(), std::make_move_iterator(records.begin()),
                 std::make_move_iterator(records.end()));
  };
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
