// Deleted table-leaf cells whose first four bytes a freeblock header took.
//
// Deleting a row without secure delete turns its cell into free space: SQLite
// writes a freeblock header over the cell's first four bytes and leaves the
// rest as it was until the space is reused.
//
//   before   P varint | R varint | H varint | serial types ... | bodies ...
//   after    next(2, BE) size(2, BE)        | serial types ... | bodies ...
//
// Which parts the header took depends on k = |P| + |R|:
//
//   k = 4   P and R; the header length H follows intact
//   k = 3   P, R and the one-byte H; the serial types follow intact
//   k = 2   P, R, H and the first serial type: the NULL that stands for an
//           INTEGER PRIMARY KEY column, or for a template whose first column
//           is an ordinary integer, an integer whose body (1 to 8 bytes, or
//           none for the constants 0 and 1, rebuilt as NULL) survives; no
//           extraction reads column 0, only its size places the others
//
// A freed cell is rebuilt only where the surviving types fit a record
// template from their first column on, the sizes add up to a cell that the
// freeblock covers, and what follows the cell inside the freeblock is free
// space or whole cells to the freeblock's last byte. Not rebuilt: cells of
// pages over 16 KiB, headers of 128 bytes or more, and k = 5 (a 2-byte P
// before a 3-byte rowid), which leaves a rowid byte after the header.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "engine/cell_detector.h"
#include "engine/fast_classifier.h"

namespace velkor {

struct FreedCell {
  uint32_t offset = 0;      // of the freeblock header, from the window start
  uint32_t leadLost = 0;    // k: bytes of P and R under the header (2 to 4)
  uint32_t lostType = 0;    // with k = 2: the type rebuilt for column 0
  uint32_t freeSize = 0;    // the freeblock's size field
  uint32_t cellLength = 0;  // k + P: the cell's bytes from offset
  uint32_t headerEnd = 0;   // first body byte, from the window start
  // Where the rebuilt cell lies in the rebuilt-cell arena, and its length.
  uint32_t rebuiltAt = 0;
  uint32_t rebuiltLength = 0;
};

// The rebuilt cells of one window: each as a cell of its own (payload length,
// rowid 0, header length, every serial type, bodies), followed by kRebuiltPad
// zero bytes for the cell test's look-ahead.
inline constexpr uint32_t kRebuiltPad = 8;

// A chain's answer for the bytes after a freed cell of some length, from
// the position numbered stamp.
struct ChainEnd {
  uint64_t stamp = 0;
  uint32_t length = 0;
  int gap = 0;
};

struct FreedCellScratch {
  std::array<FreedCell, 9> readings;  // of one position
  std::array<ChainEnd, 64> chains;
  uint64_t chainStamp = 0;
  std::vector<FreedCell> cells;
  std::vector<uint8_t> rebuilt;
  std::vector<uint64_t> cellStarts;  // a bit per window byte where an accepted cell starts
};

// The bytes [start, end) of a cell the whole-cell test accepted, from the
// window start; maxEnd is the largest end of it and the cells before it.
struct WholeCell {
  uint32_t start = 0, end = 0, maxEnd = 0;
};

// Finds the freed cells starting in [0, length) of the window, whose bytes
// must be readable up to length + kWindowSlack, and rebuilds each into
// scratch.rebuilt before anything rewrites the window. Cells come in
// ascending offset; one offset may give several readings (k = 4, 3, 2 in
// that order) that the freeblock bears out equally well.
// wholeCells, in ascending start, are the window's accepted cells: a
// freeblock may hold some of them after its freed cell.
void FindFreedCells(const uint8_t* window, uint32_t length,
                    const std::vector<WholeCell>& wholeCells, FreedCellScratch& scratch);

// The templates (trial-order bits) a rebuilt cell must not be taken by:
// those whose rows need the lost rowid, and when an integer column 0 was
// rebuilt, every template whose first column is the rowid alias.
TemplateSet RefusedForFreedCell(const FreedCell& cell);

}  // namespace velkor
