// The found-files list shown after a picture or video scan, and the saving of
// its ticked rows: each carved file is copied out of the image into a folder.
//
// The list is the hand-over between the two: saving takes names, offsets and
// lengths back from the row texts, so a row edited or built elsewhere is
// saved exactly as it reads.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "carving/carved_file.h"
#include "engine/image_source.h"
#include "engine/record_rows.h"
#include "engine/reporting.h"

namespace velkor {

// "<row><.extension>", the extension by kind in the formats of the scan mode
// ("0.jpg" for a picture kind 0x01, "0.mp4" for a video one). A kind that is
// no single format bit gets the bare row number.
std::u16string FoundFileName(uint64_t row, uint32_t kind, uint32_t mode);

// One row per carved file in ascending offset: name, offset, length, the
// numbers as plain unsigned decimals.
std::vector<RowTexts> FoundFileRows(const CarvedFileStore& store, uint32_t mode);

// Copies length bytes from offset of the image to output, in 1 MiB chunks.
// Stops early, without failing, where the image ends, so a range past the
// end gives a shorter file. False when a write to output fails, or a read
// gives out before the image's end.
bool CopyImageRange(std::FILE* output, ImageSource& image, uint64_t offset, uint64_t length);

// A found-files row as the save reads it.
struct CarvedFileRow {
  std::u16string name;        // column 0, the output file name
  std::u16string offsetText;  // column 1
  std::u16string lengthText;  // column 2
  bool ticked = false;
};

// Saves every ticked row into folder (one trailing '/' is dropped) as
// "folder/name". A file that cannot be created or fully written, or a name
// that would leave the folder (empty, ".", "..", or holding a separator), is
// reported with LogSaveFailed and the full path; the rows after it are still
// saved. When the image cannot be opened, LogOpenFailed is written and
// nothing is saved. Returns the indices of the rows written, for the caller
// to untick. Progress: range = row count, position = each row's index.
std::vector<size_t> SaveCarvedFiles(const ImageOpener& opener, std::u16string_view imagePath,
                                    const std::vector<CarvedFileRow>& rows,
                                    std::u16string_view folder, LogSink* log,
                                    ProgressSink* progress);

}  // namespace velkor
