// The search of an image for a text: the text is turned into the bytes of
// the chosen encoding and every place those bytes occur is reported, with a
// short excerpt of what surrounds it that is safe to show as plain text.
//
// The image is read in windows of kWindowSize bytes. Each read takes the
// pattern length - 1 bytes that follow the window as well, and a match is
// counted in the window where it starts, so a match that runs across a window
// boundary is found exactly once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/image_source.h"
#include "engine/reporting.h"
#include "engine/scan_input.h"

namespace velkor {

enum class SearchEncoding : uint8_t { kUtf8, kAscii, kUtf16Le };

// The bytes to look for. Nothing for an empty text, for text with a
// character outside ASCII when the encoding is ASCII, and for text holding an
// unpaired surrogate (which no encoding can write).
std::optional<std::vector<uint8_t>> SearchPattern(std::u16string_view text,
                                                  SearchEncoding encoding);

enum class SearchEnd { kDone, kStopped, kReadFailed };

// Calls onHit with the offset of every occurrence of pattern, in ascending
// order; occurrences may overlap. Polls stop (null: never) after each window. Progress:
// range = window count, position = each window's index. A read that returns
// nothing ends the search with kReadFailed and its offset in *failedOffset.
SearchEnd FindInImage(ImageSource& image, std::span<const uint8_t> pattern,
                      const std::function<void(uint64_t)>& onHit, ProgressSink* progress,
                      const std::atomic<bool>* stop, uint64_t* failedOffset);

// Up to kExcerptContext bytes either side of a hit together with the hit,
// read as text of the encoding. Characters that do not print (controls,
// format and private-use characters, line separators, broken sequences)
// show as '.'.
inline constexpr size_t kExcerptContext = 16;
std::u16string SearchExcerpt(ImageSource& image, uint64_t offset, size_t patternLength,
                             SearchEncoding encoding);

// Rows the log shows for a search.
inline constexpr std::u16string_view kTitleSearch = u"Search";
std::u16string SearchHitText(std::u16string_view file, uint64_t offset,
                             std::u16string_view excerpt);
std::u16string SearchEndText(uint64_t hits, uint64_t listed, bool stopped);

// A listed hit: the file (the image or a file of the folder), where the
// pattern starts in it and the excerpt the log row shows.
struct SearchHit {
  std::u16string file;
  uint64_t offset = 0;
  std::u16string excerpt;
};

struct ImageSearchSummary {
  uint64_t hits = 0;    // every hit found, listed or not
  uint64_t listed = 0;  // hits written to the log
  bool stopped = false;
};

// Searches the input's image, or every file of its folder (not its
// subfolders) on the ITUNES platform, through the input's opener. The first
// maxListed hits become log rows (title "Search"); files that cannot be
// opened or read are logged as the record scan logs them. Ends with the
// summary row. Progress: FindInImage's events per file, each position after
// the text "已经找到 N 处". onListed (may be empty) sees every listed hit
// right after its log row.
ImageSearchSummary SearchImage(const ScanInput& input, std::span<const uint8_t> pattern,
                               SearchEncoding encoding, uint64_t maxListed,
                               const std::function<void(const SearchHit&)>& onListed = {});

}  // namespace velkor
