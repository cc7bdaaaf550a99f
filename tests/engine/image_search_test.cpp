// The image search: encodings of the search text, matches around window
// boundaries, stops and read failures, excerpts that are safe to show.
#include "engine/image_search.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "engine/text_codec.h"
#include "tests/support/test_support.h"

namespace velkor {
namespace {

using namespace std::literals;

constexpr uint64_t kW = kWindowSize;
using E = SearchEncoding;

using test::Bytes;
using Texts = std::vector<std::string>;

Bytes Text(std::string_view text) {
  return {text.begin(), text.end()};
}

// Zeros with text at each offset.
Bytes ImageWith(uint64_t size, std::string_view text, const std::vector<uint64_t>& offsets) {
  Bytes image(size, 0);
  for (uint64_t at : offsets) test::Place(image, at, Text(text));
  return image;
}

TEST(SearchPattern, EncodesOrRefuses) {
  using B = std::vector<uint8_t>;
  const struct {
    std::u16string text;
    SearchEncoding encoding;
    std::optional<B> bytes;
  } cases[] = {{u"Ab1", E::kAscii, B{0x41, 0x62, 0x31}},
               {u"a中", E::kAscii, std::nullopt},
               {u"中", E::kUtf8, B{0xE4, 0xB8, 0xAD}},
               {u"\u00e9", E::kUtf8, B{0xC3, 0xA9}},
               {u"\U0001F600", E::kUtf8, B{0xF0, 0x9F, 0x98, 0x80}},
               {u"中a", E::kUtf16Le, B{0x2D, 0x4E, 0x61, 0x00}},
               {u"\U0001F600", E::kUtf16Le, B{0x3D, 0xD8, 0x00, 0xDE}},
               {u"", E::kUtf8, std::nullopt},
               {std::u16string(1, char16_t{0xD800}), E::kUtf16Le, std::nullopt},
               {std::u16string(1, char16_t{0xDC00}) + u"a", E::kUtf8, std::nullopt}};
  for (const auto& c : cases) {
    EXPECT_EQ(SearchPattern(c.text, c.encoding), c.bytes) << ToUtf8(c.text);
  }
}

using Offsets = std::vector<uint64_t>;

// Matches at the first and last bytes, cut by the image end, overlapping, read
// at most 4093 bytes at a time (as a network share may hand them out), ended
// by a stop after the current window, or by a window that cannot be read.
TEST(FindInImageTest, EdgesOverlapsShortReadsStopsAndFailures) {
  Bytes edges(kW + 10, '.');
  test::Place(edges, 0, Text("ab"));
  test::Place(edges, kW + 8, Text("ab"));
  const Offsets needles = {5000, kW - 3, kW + 700000, 2 * kW + 90};
  const Bytes dribbled = ImageWith(2 * kW + 100, "NEEDLE", needles);
  const Bytes overlaps = ImageWith(kW + 4, "aaaaa", {kW - 3});
  const Bytes three = ImageWith(3 * kW, "hit", {5, kW + 10, 2 * kW + 5});
  const struct {
    Bytes image;
    std::string pattern;
    size_t chunk;  // most bytes a read gives; 0: no limit
    uint64_t bad;  // a byte no read gives; 0: none
    bool stop;
    Offsets hits;
    SearchEnd end;
  } cases[] = {{edges, "ab", 0, 0, false, {0, kW + 8}, SearchEnd::kDone},
               {edges, "abc", 0, 0, false, {}, SearchEnd::kDone},
               {Text("ab"), "abc", 0, 0, false, {}, SearchEnd::kDone},
               {overlaps, "aaa", 0, 0, false, {kW - 3, kW - 2, kW - 1}, SearchEnd::kDone},
               {dribbled, "NEEDLE", 4093, 0, false, needles, SearchEnd::kDone},
               {three, "hit", 0, 0, true, {5}, SearchEnd::kStopped},
               {three, "hit", 0, kW, false, {5}, SearchEnd::kReadFailed}};
  for (const auto& c : cases) {
    test::ReadFaults faults{.chunk = c.chunk};
    if (c.bad != 0) faults.bad = {{c.bad, 1}};
    auto image = test::FaultyOpener(test::MemoryOpener(c.image), faults)("");
    const std::atomic<bool> stop{c.stop};
    Offsets hits;
    uint64_t failed = 0;
    const SearchEnd end = FindInImage(
        *image, Text(c.pattern), [&](uint64_t at) { hits.push_back(at); }, nullptr, &stop, &failed);
    EXPECT_EQ(hits, c.hits) << c.pattern;
    EXPECT_EQ(end, c.end) << c.pattern;
    EXPECT_EQ(failed, c.end == SearchEnd::kReadFailed ? kW : 0) << c.pattern;
  }
}

// Context of at most 16 bytes either side, in the hit's encoding, with every
// byte that would not print, or would reorder the row, shown as a dot.
TEST(SearchExcerpt, ShowsOnlyWhatPrints) {
  const struct {
    std::string_view image;
    uint64_t offset;
    size_t length;
    SearchEncoding encoding;
    std::u16string excerpt;
  } cases[] = {
      {"0123456789abcdefXYZhitABCDEFGHIJKLMNOPQR"sv, 19, 3, E::kUtf8,
       u"3456789abcdefXYZhitABCDEFGHIJKLMNOP"},
      {"a\x01\r\nhit\t\x7f\x62"sv, 4, 3, E::kAscii, u"a...hit..b"},
      {"\xe4\xb8\xadhit"sv, 3, 3, E::kUtf8, u"中hit"},
      {"\xe4\xb8\xadhit"sv, 3, 3, E::kAscii, u"...hit"},
      {"\xe2\x80\xaehit\xe2\x80\xa8"sv, 3, 3, E::kUtf8, u".hit."},  // right-to-left override
      {"\xc0\xafhit\xe4\xb8"sv, 2, 3, E::kUtf8, u"..hit.."},
      // The hit starts at an odd offset: context starts on a code unit of it.
      {"xa\0b\0h\0i\0\x2d\x4e\x00\xd8"sv, 5, 4, E::kUtf16Le, u"abhi中."},
      {"\x00\xdch\0"sv, 2, 2, E::kUtf16Le, u".h"}};
  for (const auto& c : cases) {
    MemoryImageSource image(Text(c.image));
    EXPECT_EQ(SearchExcerpt(image, c.offset, c.length, c.encoding), c.excerpt) << c.offset;
  }
}

// Searches an image (none: one that does not open) with the stop flag as given.
void ExpectSearch(std::optional<Bytes> image, const char* pattern, uint64_t limit, bool stop,
                  const Texts& logs, const Texts& texts) {
  test::Recorder recorder;
  const std::atomic<bool> stopFlag{stop};
  ScanInput input;
  input.log = &recorder;
  input.progress = &recorder;
  input.imagePath = "phone.img";
  input.stop = &stopFlag;
  input.imageOpener = image
                          ? test::MemoryOpener(*image)
                          : ImageOpener([](const auto&) { return std::unique_ptr<ImageSource>(); });
  const ImageSearchSummary summary = SearchImage(input, Text(pattern), E::kAscii, limit);
  EXPECT_EQ(recorder.logs, logs) << pattern;
  EXPECT_EQ(recorder.texts, texts) << pattern;
  EXPECT_EQ(summary.stopped, stop) << pattern;
}

TEST(SearchImage, ListsUpToTheLimitAndSaysHowItEnded) {
  const std::string hit = "0 Search phone.img,位置";
  ExpectSearch(
      ImageWith(2 * kW, "needle", {kW - 1}), "needle", 10, false,
      {hit + "1048575: ................needle................", "0 Search 搜索结束,找到 1 处"},
      {"已经找到 1 处", "已经找到 1 处"});
  ExpectSearch(Bytes(4096, 'z'), "zz", 3, false,
               {hit + "0: " + std::string(18, 'z'), hit + "1: " + std::string(19, 'z'),
                hit + "2: " + std::string(20, 'z'), "0 Search 搜索结束,找到 4095 处,只列出前 3 处"},
               {"已经找到 4095 处"});
  ExpectSearch(std::nullopt, "x", 10, false,
               {"3 error 打開/創建設備phone.img失敗", "0 Search 搜索结束,找到 0 处"}, {});
  ExpectSearch(ImageWith(2 * kW, "late", {kW + 1}), "late", 10, true,
               {"0 Search 搜索已停止,找到 0 处"}, {"已经找到 0 处"});
}

}  // namespace
}  // namespace velkor
