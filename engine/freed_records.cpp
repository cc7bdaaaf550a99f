#include <algorithm>
#include <iterator>

#include "engine/batch_sizes.h"
#include "engine/record_decoder.h"
#include "engine/record_scan_parts.h"
#include "engine/scan_input.h"

namespace velkor {
namespace {

// A later insert into a freeblock takes the block's end, so a live cell
// written over part of a freed cell reaches the freed cell's end or beyond
// (one holding the freed cell's start keeps it from being read at all, see
// FindFreedCells). A cell the cell test accepts wholly inside the freed
// one is the freed cell's own bytes read as a cell: runs of small serial
// types look like one. Whole cells are listed in walk order, so their
// starts ascend and the cells starting before end are a prefix; one of them
// reaches end exactly when the largest end of that prefix does.
bool OverwrittenByWholeCell(const std::vector<WholeCell>& cells, uint32_t end) {
  const auto after = std::partition_point(cells.begin(), cells.end(),
                                          [end](const WholeCell& c) { return c.start < end; });
  return after != cells.begin() && std::prev(after)->maxEnd >= end;
}

// Decodes a rebuilt cell into columns; false when the rebuilt cell is not
// one the whole-cell test accepts. fitting gets the templates its
// signature fits.
bool DecodeReading(FreedCellScratch& freed, const FreedCell& cell, const ClassifierMasks& masks,
                   CellCandidate& candidate, ColumnMap& columns, TemplateSet& fitting) {
  uint8_t* rebuilt = freed.rebuilt.data() + cell.rebuiltAt;
  const auto available = static_cast<int32_t>(cell.rebuiltLength);
  TypeSignature signature;
  if (!DetectCell(rebuilt, available, candidate) ||
      !DecodeColumns(rebuilt, available, candidate, columns, signature)) {
    return false;
  }
  const auto count = static_cast<uint32_t>(candidate.serialTypes.size());
  fitting = FittingTemplates(masks, ToSignatureBits(signature, count));
  return true;
}

// Of the readings [first, last) of one offset, the one whose record some
// template's rules take on either platform, when exactly one is; last
// otherwise. The platform the scan runs as plays no part, so a reading the
// right template refuses only for its platform is not passed over for a
// wrong one.
size_t RecognisedReading(WindowScratch& scratch, const ClassifierMasks& masks, size_t first,
                         size_t last) {
  if (last - first == 1) return first;
  size_t chosen = last;
  int recognised = 0;
  CellCandidate candidate;
  for (size_t r = first; r < last; ++r) {
    const FreedCell& cell = scratch.freed.cells[r];
    TemplateSet fitting = 0;
    if (!DecodeReading(scratch.freed, cell, masks, candidate, scratch.columns, fitting)) continue;
    bool taken = false;
    for (const uint8_t platform : {kPlatformAndroid, kPlatformIos}) {
      scratch.trial.Clear();
      const BatchSizes none(scratch.trial);
      ExtractFirstTaken(scratch.trial, platform, fitting, scratch.columns, candidate.rowid,
                        RefusedForFreedCell(cell));
      taken = taken || Grew(scratch.trial, none);
    }
    if (taken) {
      ++recognised;
      chosen = r;
    }
  }
  return recognised == 1 ? chosen : last;
}

}  // namespace

// Readings of one offset are neighbours in the list; at most one of them
// gives records.
void CollectFreedRecords(uint8_t platform, WindowScratch& scratch, RecordBatch& batch,
                         const std::vector<ByteRange>& unreadable, uint64_t windowOffset) {
  static const ClassifierMasks masks = BuildClassifierMasks(SignatureTemplates());
  const std::vector<FreedCell>& cells = scratch.freed.cells;
  CellCandidate candidate;
  for (size_t first = 0; first < cells.size();) {
    size_t last = first + 1;
    while (last < cells.size() && cells[last].offset == cells[first].offset) ++last;
    const size_t r = RecognisedReading(scratch, masks, first, last);
    first = last;
    if (r == last) continue;
    const FreedCell& cell = cells[r];
    const uint64_t cellStart = windowOffset + cell.offset;
    if (OverwrittenByWholeCell(scratch.wholeCells, cell.offset + cell.cellLength)) continue;
    if (!unreadable.empty() && Touches(unreadable, cellStart, cellStart + cell.cellLength)) {
      continue;
    }
    TemplateSet fitting = 0;
    if (!DecodeReading(scratch.freed, cell, masks, candidate, scratch.columns, fitting)) continue;
    const BatchSizes before(batch);
    ExtractFirstTaken(batch, platform, fitting, scratch.columns, candidate.rowid,
                      RefusedForFreedCell(cell));
    StampOrigin(batch, before, cellStart, FoundBy::kFreeblock);
  }
}

}  // namespace velkor
