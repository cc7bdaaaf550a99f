// The image search: encodings of the search text, matches at and across
// window boundaries, overlapping matches, stop and read failures, excerpts
// that are safe to show, and the search of an image or folder.
#include "engine/image_search.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "engine/text_codec.h"
#include "engine/text_format.h"
#include "tests/support/test_support.h"

namespace velkor {

namespace {

using namespace std::literals;

constexpr uint64_t kW = kWindowSize;

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

std::vector<uint64_t> Hits(ImageSource& image, const Bytes& pattern, SearchEnd* end = nullptr,
                           ProgressSink* progress = nullptr,
                           const std::atomic<bool>* stop = nullptr) {
  std::vector<uint64_t> hits;
  uint64_t failed = 0;
  const SearchEnd result = FindInImage(
      image, pattern, [&](uint64_t at) { hits.push_back(at); }, progress, stop, &failed);
  if (end) *end = result;
  return hits;
}

TEST(SearchPattern, EncodesOrRefuses) {
  using B = std::vector<uint8_t>;
  const struct {
    std::u16string text;
    SearchEncoding encoding;
    std::optional<B> bytes;
  } cases[] = {
      {u"Ab1", SearchEncoding::kAscii, B{0x41, 0x62, 0x31}},
      {u"a中", SearchEncoding::kAscii, std::nullopt},
      {u"\u00e9", SearchEncoding::kAscii, std::nullopt},
      {u"中", SearchEncoding::kUtf8, B{0xE4, 0xB8, 0xAD}},
      {u"\u00e9", SearchEncoding::kUtf8, B{0xC3, 0xA9}},
      {u"\U0001F600", SearchEncoding::kUtf8, B{0xF0, 0x9F, 0x98, 0x80}},
      {u"中a", SearchEncoding::kUtf16Le, B{0x2D, 0x4E, 0x61, 0x00}},
      {u"\U0001F600", SearchEncoding::kUtf16Le, B{0x3D, 0xD8, 0x00, 0xDE}},
      {u"", SearchEncoding::kUtf8, std::nullopt},
      {u"", SearchEncoding::kUtf16Le, std::nullopt},
      {std::u16string(1, char16_t{0xD800}), SearchEncoding::kUtf16Le, std::nullopt},
      {std::u16string(1, char16_t{0xDC00}) + u"a", SearchEncoding::kUtf8, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SearchPattern(c.text, c.encoding), c.bytes) << ToUtf8(c.text);
  }
}

using Offsets = std::vector<uint64_t>;

// Every start from a few bytes before a window boundary to just after it, for
// patterns of several lengths: each match is reported once, at its offset.
TEST(FindInImageTest, MatchesAroundWindowBoundariesAreFoundOnce) {
  for (const std::string needle : {"Q", "QZ", "QZXYW", "QZXYWVUTSR"}) {
    for (uint64_t back = 0; back <= needle.size(); ++back) {
      const Offsets at = {kW - back, 2 * kW - back};
      MemoryImageSource image(ImageWith(3 * kW + 7, needle, at));
      EXPECT_EQ(Hits(image, Text(needle)), at) << needle << " " << back << " bytes before";
    }
  }
}

// Matches at the first and last bytes, cut by the image end, overlapping, and
// read at most 4093 bytes at a time, as a network share may hand them out.
TEST(FindInImageTest, EdgesOverlapsAndShortReads) {
  Bytes edges(kW + 10, '.');
  test::Place(edges, 0, Text("ab"));
  test::Place(edges, kW + 8, Text("ab"));
  const Offsets needles = {5000, kW - 3, kW + 700000, 2 * kW + 90};
  const Bytes dribbled = ImageWith(2 * kW + 100, "NEEDLE", needles);
  const struct {
    Bytes image;
    std::string pattern;
    size_t chunk;
    Offsets hits;
  } cases[] = {
      {edges, "ab", 0, {0, kW + 8}},
      {edges, "abc", 0, {}},
      {Text("ab"), "abc", 0, {}},
      {ImageWith(kW + 4, "aaaaa", {kW - 3}), "aaa", 0, {kW - 3, kW - 2, kW - 1}},
      {dribbled, "NEEDLE", 4093, needles},
  };
  for (const auto& c : cases) {
    auto image = test::FaultyOpener(test::MemoryOpener(c.image), {.chunk = c.chunk})("");
    SearchEnd end{};
    EXPECT_EQ(Hits(*image, Text(c.pattern), &end), c.hits) << c.pattern;
    EXPECT_EQ(end, SearchEnd::kDone);
  }
  auto image = test::FaultyOpener(test::MemoryOpener(dribbled), {.chunk = 4093})("");
  EXPECT_NE(ToUtf8(SearchExcerpt(*image, kW - 3, 6, SearchEncoding::kAscii)).find("NEEDLE"),
            std::string::npos);
}

TEST(FindInImageTest, ProgressStopAndReadFailure) {
  const Bytes bytes = ImageWith(3 * kW, "hit", {5, kW + 10, 2 * kW + 5});
  MemoryImageSource image(bytes);
  test::Recorder recorder;
  Hits(image, Text("x"), nullptr, &recorder);
  EXPECT_EQ(recorder.events, (Texts{"range 3", "pos 0", "pos 1", "pos 2"}));

  // A stop ends the search after the current window.
  const std::atomic<bool> stop{true};
  SearchEnd end{};
  EXPECT_EQ(Hits(image, Text("hit"), &end, nullptr, &stop), Offsets{5});
  EXPECT_EQ(end, SearchEnd::kStopped);

  // The window at kW cannot be read; a search that went on would find more.
  auto holed = test::FaultyOpener(test::MemoryOpener(bytes), {.bad = {{kW, 1}}})("");
  Offsets hits;
  uint64_t failed = 0;
  end = FindInImage(
      *holed, Text("hit"), [&](uint64_t at) { hits.push_back(at); }, nullptr, nullptr, &failed);
  EXPECT_EQ(end, SearchEnd::kReadFailed);
  EXPECT_EQ(failed, kW);
  EXPECT_EQ(hits, Offsets{5});
}

std::vector<uint8_t> Padded(std::string_view left, std::string_view middle,
                            std::string_view right) {
  std::vector<uint8_t> bytes = Text(left);
  bytes.insert(bytes.end(), middle.begin(), middle.end());
  bytes.insert(bytes.end(), right.begin(), right.end());
  return bytes;
}

TEST(SearchExcerpt, ShowsOnlyWhatPrints) {
  const struct {
    const char* name;
    std::vector<uint8_t> image;
    uint64_t offset;
    size_t length;
    SearchEncoding encoding;
    std::u16string excerpt;
  } cases[] = {
      {"context is cut to 16 bytes either side",
       Padded("0123456789abcdefXYZ"sv, "hit"sv, "ABCDEFGHIJKLMNOPQR"sv), 19, 3,
       SearchEncoding::kUtf8, u"3456789abcdefXYZhitABCDEFGHIJKLMNOP"},
      {"controls and line ends", Padded("a\x01\r\n"sv, "hit"sv, "\t\x7f\x62"sv), 4, 3,
       SearchEncoding::kAscii, u"a...hit..b"},
      {"UTF-8 Han", Padded("\xe4\xb8\xad"sv, "hit"sv, ""sv), 3, 3, SearchEncoding::kUtf8, u"中hit"},
      {"ASCII shows high bytes as dots", Padded("\xe4\xb8\xad"sv, "hit"sv, ""sv), 3, 3,
       SearchEncoding::kAscii, u"...hit"},
      // A right-to-left override would reorder the row around it.
      {"format characters", Padded("\xe2\x80\xae"sv, "hit"sv, "\xe2\x80\xa8"sv), 3, 3,
       SearchEncoding::kUtf8, u".hit."},
      {"broken UTF-8", Padded("\xc0\xaf"sv, "hit"sv, "\xe4\xb8"sv), 2, 3, SearchEncoding::kUtf8,
       u"..hit.."},
      // The hit starts at an odd offset: context starts on a code unit of it.
      {"UTF-16 from an odd hit", Padded("xa\0b\0"sv, "h\0i\0"sv, "\x2d\x4e\x00\xd8"sv), 5, 4,
       SearchEncoding::kUtf16Le, u"abhi中."},
      {"UTF-16 lone surrogate", Padded("\x00\xdc"sv, "h\0"sv, ""sv), 2, 2, SearchEncoding::kUtf16Le,
       u".h"},
  };
  for (const auto& c : cases) {
    MemoryImageSource image(c.image);
    EXPECT_EQ(SearchExcerpt(image, c.offset, c.length, c.encoding), c.excerpt) << c.name;
  }
}

class SearchImageTest : public ::testing::Test {
 protected:
  SearchImageTest() {
    input.log = &recorder;
    input.progress = &recorder;
    input.imagePath = "phone.img";
  }
  // Searches an image (none: one that does not open) with the stop flag as given.
  void ExpectSearch(std::optional<Bytes> image, const char* pattern, uint64_t limit, bool stop,
                    const Texts& logs, const Texts& texts) {
    recorder = test::Recorder();
    const std::atomic<bool> stopFlag{stop};
    input.stop = &stopFlag;
    input.imageOpener =
        image ? test::MemoryOpener(*image)
              : ImageOpener([](const auto&) { return std::unique_ptr<ImageSource>(); });
    const ImageSearchSummary summary =
        SearchImage(input, Text(pattern), SearchEncoding::kAscii, limit);
    EXPECT_EQ(recorder.logs, logs) << pattern;
    EXPECT_EQ(recorder.texts, texts) << pattern;
    EXPECT_EQ(summary.stopped, stop) << pattern;
  }
  ScanInput input;
  test::Recorder recorder;
};

TEST_F(SearchImageTest, ListsUpToTheLimitAndSaysHowItEnded) {
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

TEST_F(SearchImageTest, BackupFolderFilesInNameOrderSubfoldersSkipped) {
  const test::TempFolder temp;
  const std::filesystem::path& folder = temp.path;
  std::filesystem::create_directories(folder / "sub");
  test::WriteBytes(folder / "b", Text("..key"));
  test::WriteBytes(folder / "a", Text("key"));
  test::WriteBytes(folder / "sub" / "c", Text("key"));
  input.platform = kPlatformItunes;
  input.imagePath = folder;
  input.imageOpener = OpenImageFile;
  const ImageSearchSummary summary = SearchImage(input, Text("key"), SearchEncoding::kAscii, 10);
  EXPECT_EQ(summary.hits, 2u);
  ASSERT_EQ(recorder.logs.size(), 3u);
  EXPECT_EQ(recorder.logs[0], "0 Search " + ToUtf8(PathText(folder / "a")) + ",位置0: key");
  EXPECT_EQ(recorder.logs[1], "0 Search " + ToUtf8(PathText(folder / "b")) + ",位置2: ..key");
}

}  // namespace
}  // namespace velkor
