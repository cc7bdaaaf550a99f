// The found-files list shown after a picture or video scan, and the saving of
// its ticked entries: each carved file is copied out of the image into a
// folder from its stored offset and length.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "carving/carved_file.h"
#include "engine/image_source.h"
#include "engine/piecewise_read.h"
#include "engine/record_rows.h"
#include "engine/scan_input.h"

namespace velkor {

// "<row><.extension>", the extension by kind in the formats of the scan mode
// ("0.jpg" for a picture kind 0x01, "0.mp4" for a video one). A kind that is
// no single format bit gets the bare row number.
std::u16string FoundFileName(uint64_t row, uint32_t kind, uint32_t mode);

// A carved file under the name it is listed and saved as.
struct FoundFile {
  std::u16string name;
  CarvedFile file;
};

// One entry per carved file in ascending offset, named by FoundFileName.
std::vector<FoundFile> FoundFiles(const CarvedFileStore& store, uint32_t mode);

// One row per entry: name, offset, length, the numbers as plain unsigned
// decimals.
std::vector<RowTexts> FoundFileRows(const std::vector<FoundFile>& files);

// One JSON object, without a line end: name, offset, length, format (the
// extension of the signature that matched, as "jpg") and verified (whether
// the length is where the file's structure ends).
std::string FoundFileJson(const FoundFile& file, uint32_t mode);

// Copies length bytes from offset of the image to output, in 1 MiB chunks.
// Stops early, without failing, where the image ends, so a range past the
// end gives a shorter file. False when a write to output fails, or a read
// gives out before the image's end; then output holds every byte before the
// first unreadable one, and unreadable (when given) the unreadable run there.
bool CopyImageRange(std::FILE* output, ImageSource& image, uint64_t offset, uint64_t length,
                    ByteRange* unreadable = nullptr);

// Saves every entry into folder (one trailing '/' is dropped) as
// "folder/name", copying from the input's image through its opener. A file
// that cannot be created or written, or a name that would leave the folder
// (empty, ".", "..", or holding a separator), is reported with LogSaveFailed
// and the full path; the entries after it are still saved. A file cut by an
// unreadable range keeps the bytes before it and is reported with
// LogSaveIncomplete. When the image cannot be opened, LogOpenFailed is
// written and nothing is saved. Returns the indices of the entries written
// whole. Progress: range = entry count, position = each entry's index. The
// stop flag is polled before each file; a stop is logged with the number of
// files left unsaved, and attempted (when given) tells how many were tried.
std::vector<size_t> SaveCarvedFiles(const ScanInput& input, const std::vector<FoundFile>& files,
                                    const std::filesystem::path& folder,
                                    size_t* attempted = nullptr);

}  // namespace velkor
