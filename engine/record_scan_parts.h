// The pieces the record scan is built from, each usable on its own: finding
// the cells of a window, classifying and extracting their records, handing a
// window's records over to the stores and merging contact parts into the
// phone book.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <map>
#include <vector>

#include "engine/cell_detector.h"
#include "engine/fast_classifier.h"
#include "engine/freeblock_cells.h"
#include "engine/piecewise_read.h"
#include "engine/record_batch.h"
#include "engine/record_scan.h"
#include "engine/record_types.h"
#include "engine/signature_templates.h"

namespace velkor {

// Names and numbers of contacts waiting for the phone-book build.
// std::multimap keeps equal keys in insertion order, which the merge relies
// on.
using ContactPartMap = std::multimap<int64_t, ContactPart>;

// Reusable memory of one window scan; one per thread.
struct WindowScratch {
  std::vector<uint64_t> marks;  // the cell prefilter's
  // The first candidateCount are the current window's; the rest are slots
  // kept for the next window.
  std::vector<CellCandidate> candidates;
  size_t candidateCount = 0;
  ColumnMap columns;
  // The deep scan's freed cells, and the bytes [start, end) of the whole
  // cells the cell test accepted, in walk order with the largest end so far.
  FreedCellScratch freed;
  std::vector<WholeCell> wholeCells;
  RecordBatch trial;  // records of a reading on trial, thrown away
};

// Finds the cells of a window of length bytes; window must have kWindowSlack
// readable bytes after them.
void FindCells(const uint8_t* window, uint32_t length, bool fastCellTest, WindowScratch& scratch);

// Finds the cells of a window, decodes them and extracts their records into
// batch. Decoding may overwrite zero bytes of the window. A cell whose bytes
// (lead varints and payload) touch one of the unreadable ranges, given at
// image offsets with the window at windowOffset, is not taken: its bytes
// there are zeros, not the phone's. deep also rebuilds freed cells (see
// engine/freeblock_cells.h) and adds their records after the whole cells'
// ones, unless a whole cell the cell test accepted was written over them.
void CollectWindowRecords(uint8_t* window, uint32_t length, uint8_t platform, bool fastCellTest,
                          WindowScratch& scratch, RecordBatch& batch,
                          const std::vector<ByteRange>& unreadable = {}, uint64_t windowOffset = 0,
                          bool deep = false);

// Adds the records of the window's freed cells (scratch.freed, found before
// the window was decoded) after the whole cells' ones: for each offset the
// one reading some template's rules take, unless a whole cell the cell test
// accepted (scratch.wholeCells) holds its start or reaches its end, as a
// later insert does, or its bytes touch an unreadable range.
void CollectFreedRecords(uint8_t platform, WindowScratch& scratch, RecordBatch& batch,
                         const std::vector<ByteRange>& unreadable, uint64_t windowOffset);

// The first template, in trial order, that fits the signature and admits the
// column count (0: the signature's count of codes); 0 when none does. Other
// tables are for checking the scan's fast classifier.
RecordCategory Classify(const TypeSignature& signature,
                        const SignatureTemplateTable& templates = SignatureTemplates(),
                        uint32_t columns = 0);

// Copies the fields of a classified record into batch when they pass the
// category's acceptance rules; contact parts go to batch.contactParts. True
// when something was taken.
bool ExtractRecord(RecordBatch& batch, uint8_t platform, RecordCategory category,
                   const ColumnMap& columns, const Varint& rowid);
inline void ExtractRecordInto(RecordBatch& batch, uint8_t platform, RecordCategory category,
                              const ColumnMap& columns, const Varint& rowid) {
  ExtractRecord(batch, platform, category, columns, rowid);
}

// Extracts a record with the first of the fitting templates whose rules take
// it. Only the first fitting classic template is tried, as the classic scan
// always did; the current layouts' templates after it get what it refuses.
// Reaching a refused template ends the trial with nothing taken, so a record
// is taken as a whole cell would be, or not at all.
void ExtractFirstTaken(RecordBatch& batch, uint8_t platform, TemplateSet fitting,
                       const ColumnMap& columns, const Varint& rowid, TemplateSet refused = 0);

// The templates, as trial-order bits, of the given categories.
TemplateSet TemplatesOf(std::initializer_list<RecordCategory> categories);

// Appends a window's records to the stores and its parts to parts, emptying
// batch; the records are marked as found in stores.files[file - 1] (0: the
// image).
void CommitBatch(RecordBatch& batch, RecordStores& stores, ContactPartMap& parts,
                 uint32_t file = 0);

// Joins the batch's iOS messages (stored from firstMessage on) with the
// handles that carry their numbers, found in this batch or earlier in the
// same file; moves the batch's handles into parts and leaves its other parts.
void JoinMessageHandles(RecordBatch& batch, size_t firstMessage, SmsStore& messages,
                        ContactPartMap& parts);

// Merges the parts, key by key in ascending order, into phone-book entries
// (found in stores.files[file - 1], 0: the image) and empties parts.
void BuildPhoneBook(ContactPartMap& parts, std::vector<PhoneBookEntry>& phoneBook,
                    uint32_t file = 0);

}  // namespace velkor
