// The pieces the record scan is built from, each usable on its own: finding
// the cells of a window, classifying and extracting their records, handing a
// window's records over to the stores and merging contact parts into the
// phone book.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "engine/cell_detector.h"
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
  std::vector<uint8_t> flags;
  std::vector<uint8_t> chunkMarks;
  // The first candidateCount are the current window's; the rest keep their
  // serial-type storage for the next window.
  std::vector<CellCandidate> candidates;
  size_t candidateCount = 0;
  ColumnMap columns;
};

// Finds the cells of a window of length bytes; window must have kWindowSlack
// readable bytes after them.
void FindCells(const uint8_t* window, uint32_t length, bool fastCellTest, WindowScratch& scratch);

// Finds the cells of a window, decodes them and extracts their records into
// batch. Decoding may overwrite zero bytes of the window. A cell whose bytes
// (lead varints and payload) touch one of the unreadable ranges, given at
// image offsets with the window at windowOffset, is not taken: its bytes
// there are zeros, not the phone's.
void CollectWindowRecords(uint8_t* window, uint32_t length, uint8_t platform, bool fastCellTest,
                          WindowScratch& scratch, RecordBatch& batch,
                          const std::vector<ByteRange>& unreadable = {}, uint64_t windowOffset = 0);

// The first of the sixteen templates, in trial order, that fits the signature;
// 0 when none does. Other tables are for checking the scan's fast classifier.
RecordCategory Classify(const TypeSignature& signature,
                        const SignatureTemplateTable& templates = SignatureTemplates());

// Copies the fields of a classified record into batch when they pass the
// category's acceptance rules; contact parts go to batch.contactParts.
void ExtractRecordInto(RecordBatch& batch, uint8_t platform, RecordCategory category,
                       const ColumnMap& columns, const Varint& rowid);

// Appends a window's records to the stores and its parts to parts, emptying
// batch.
void CommitBatch(RecordBatch& batch, RecordStores& stores, ContactPartMap& parts);

// Merges the parts, key by key in ascending order, into phone-book entries
// and empties parts.
void BuildPhoneBook(ContactPartMap& parts, std::vector<PhoneBookEntry>& phoneBook);

}  // namespace velkor
