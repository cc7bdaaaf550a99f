#include "engine/image_search.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <limits>
#include <system_error>

#include "engine/code_point_sets.h"
#include "engine/folder_files.h"
#include "engine/log_entries.h"
#include "engine/text_codec.h"
#include "engine/text_format.h"

namespace velkor {
namespace {

// Recovered bytes may hold anything, including characters that reorder or
// hide the text around them; only what plainly prints is shown.
void AppendShown(std::u16string& out, char32_t c) {
  if (!IsPlainlyPrinted(c)) {
    out.push_back(u'.');
    return;
  }
  char16_t units[2];
  out.append(units, WriteUtf16(units, c));
}

std::u16string ShowUtf8(std::span<const uint8_t> bytes, bool asciiOnly) {
  std::u16string out;
  for (size_t i = 0; i < bytes.size();) {
    char32_t c = bytes[i];
    size_t length = 1;
    if (c >= 0x80) {
      // A byte that starts no well-formed sequence shows as '.' on its own.
      const Utf8Sequence sequence = asciiOnly ? Utf8Sequence{0, 1, false} : ReadUtf8(bytes, i);
      c = sequence.wellFormed ? sequence.codePoint : 0;
      length = sequence.wellFormed ? sequence.length : 1;
    }
    AppendShown(out, c);
    i += length;
  }
  return out;
}

std::u16string ShowUtf16Le(std::span<const uint8_t> bytes) {
  std::u16string out;
  const size_t units = bytes.size() / 2;
  auto unitAt = [&](size_t k) -> char32_t { return bytes[2 * k] | (bytes[2 * k + 1] << 8); };
  for (size_t k = 0; k < units; ++k) {
    char32_t c = unitAt(k);
    if (IsHighSurrogate(c) && k + 1 < units && IsLowSurrogate(unitAt(k + 1))) {
      c = CombineSurrogates(c, unitAt(++k));
    } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
      c = 0;
    }
    AppendShown(out, c);
  }
  return out;
}

// Rewrites the progress text before each position, so the progress dialog
// shows how many hits there are so far.
class HitCountProgress final : public ProgressSink {
 public:
  HitCountProgress(ProgressSink* inner, const uint64_t& hits) : inner_(inner), hits_(hits) {}
  void ProgressRange(uint32_t total) override {
    if (inner_) inner_->ProgressRange(total);
  }
  void ProgressPos(uint32_t position) override {
    if (inner_) {
      inner_->ProgressText(Concat({u"已经找到 ", DecimalText(hits_), u" 处"}));
      inner_->ProgressPos(position);
    }
  }
  void ProgressStep() override {
    if (inner_) inner_->ProgressStep();
  }
  void ProgressText(std::u16string_view text) override {
    if (inner_) inner_->ProgressText(text);
  }

 private:
  ProgressSink* inner_;
  const uint64_t& hits_;
};

}  // namespace

std::optional<std::vector<uint8_t>> SearchPattern(std::u16string_view text,
                                                  SearchEncoding encoding) {
  if (text.empty()) return std::nullopt;
  for (size_t i = 0; i < text.size(); ++i) {
    const char32_t c = text[i];
    if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      if (encoding == SearchEncoding::kAscii) return std::nullopt;
      ++i;
    } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
      return std::nullopt;
    } else if (encoding == SearchEncoding::kAscii && c >= 0x80) {
      return std::nullopt;
    }
  }
  // ASCII text is its own UTF-8.
  const std::string bytes =
      encoding == SearchEncoding::kUtf16Le ? Utf16LeBytes(text, false) : ToUtf8(text);
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

SearchEnd FindInImage(ImageSource& image, std::span<const uint8_t> pattern,
                      const std::function<void(uint64_t)>& onHit, ProgressSink* progress,
                      const std::atomic<bool>* stop, uint64_t* failedOffset) {
  const uint64_t size = image.Size();
  const uint64_t windows = size / kWindowSize + (size % kWindowSize != 0 ? 1 : 0);
  if (progress) {
    progress->ProgressRange(
        static_cast<uint32_t>(std::min<uint64_t>(windows, std::numeric_limits<uint32_t>::max())));
  }
  if (pattern.empty()) return SearchEnd::kDone;

  const size_t overlap = pattern.size() - 1;
  std::vector<uint8_t> buffer(kWindowSize + overlap);
  const std::boyer_moore_horspool_searcher searcher(pattern.begin(), pattern.end());
  for (uint64_t w = 0; w < windows; ++w) {
    const uint64_t offset = w * kWindowSize;
    const size_t want = static_cast<size_t>(std::min<uint64_t>(buffer.size(), size - offset));
    const size_t got = ReadFully(image, buffer.data(), want, offset);
    if (got == 0) {
      if (failedOffset) *failedOffset = offset;
      return SearchEnd::kReadFailed;
    }
    const auto end = buffer.begin() + static_cast<ptrdiff_t>(got);
    // Only matches starting in this window count; the overlap belongs to the
    // next one.
    const auto lastStart =
        buffer.begin() + static_cast<ptrdiff_t>(std::min<size_t>(got, kWindowSize));
    for (auto at = std::search(buffer.begin(), end, searcher); at != end && at < lastStart;
         at = std::search(at + 1, end, searcher)) {
      onHit(offset + static_cast<uint64_t>(at - buffer.begin()));
    }
    if (progress) progress->ProgressPos(static_cast<uint32_t>(std::min<uint64_t>(w, UINT32_MAX)));
    if (w + 1 < windows && stop != nullptr && stop->load()) return SearchEnd::kStopped;
  }
  return SearchEnd::kDone;
}

std::u16string SearchExcerpt(ImageSource& image, uint64_t offset, size_t patternLength,
                             SearchEncoding encoding) {
  uint64_t before = std::min<uint64_t>(kExcerptContext, offset);
  // UTF-16 text is read from a code unit boundary of the hit.
  if (encoding == SearchEncoding::kUtf16Le) before &= ~uint64_t{1};
  std::vector<uint8_t> bytes(static_cast<size_t>(before) + patternLength + kExcerptContext);
  const size_t got = ReadFully(image, bytes.data(), bytes.size(), offset - before);
  bytes.resize(got);
  switch (encoding) {
    case SearchEncoding::kUtf16Le:
      return ShowUtf16Le(bytes);
    case SearchEncoding::kAscii:
      return ShowUtf8(bytes, true);
    case SearchEncoding::kUtf8:
    default:
      return ShowUtf8(bytes, false);
  }
}

std::u16string SearchHitText(std::u16string_view file, uint64_t offset,
                             std::u16string_view excerpt) {
  return Concat({file, u",位置", DecimalText(offset), u": ", excerpt});
}

std::u16string SearchEndText(uint64_t hits, uint64_t listed, bool stopped) {
  std::u16string text =
      Concat({stopped ? u"搜索已停止,找到 " : u"搜索结束,找到 ", DecimalText(hits), u" 处"});
  if (listed < hits) text += Concat({u",只列出前 ", DecimalText(listed), u" 处"});
  return text;
}

ImageSearchSummary SearchImage(const ScanInput& input, std::span<const uint8_t> pattern,
                               SearchEncoding encoding, uint64_t maxListed,
                               const std::function<void(const SearchHit&)>& onListed) {
  ImageSearchSummary summary;
  HitCountProgress progress(input.progress, summary.hits);
  bool listedWhole = true;
  const auto files = ScannedFiles(input, listedWhole);
  for (const std::filesystem::path& path : files.value_or(std::vector<std::filesystem::path>{})) {
    const std::u16string pathText = PathText(path);
    std::unique_ptr<ImageSource> image = input.imageOpener ? input.imageOpener(path) : nullptr;
    if (!image) {
      LogOpenFailed(input.log, kTitleError, pathText, kLevelError);
      continue;
    }
    auto onHit = [&](uint64_t offset) {
      ++summary.hits;
      if (summary.listed >= maxListed) return;
      ++summary.listed;
      if (input.log == nullptr && !onListed) return;
      std::u16string excerpt = SearchExcerpt(*image, offset, pattern.size(), encoding);
      if (input.log) {
        input.log->Append(LogEntry{kLevelNormal, std::u16string(kTitleSearch),
                                   SearchHitText(pathText, offset, excerpt)});
      }
      if (onListed) onListed(SearchHit{pathText, offset, std::move(excerpt)});
    };
    uint64_t failedOffset = 0;
    const SearchEnd end = FindInImage(*image, pattern, onHit, &progress, input.stop, &failedOffset);
    if (end == SearchEnd::kReadFailed) {
      LogReadFailed(input.log, kTitleError, pathText, kLevelError,
                    static_cast<int64_t>(failedOffset));
    }
    if (end == SearchEnd::kStopped) {
      summary.stopped = true;
      break;
    }
  }
  if (input.log) {
    input.log->Append(LogEntry{kLevelNormal, std::u16string(kTitleSearch),
                               SearchEndText(summary.hits, summary.listed, summary.stopped)});
  }
  return summary;
}

}  // namespace velkor
