// The image search: encodings of the search text, matches at and across
// window boundaries, overlapping matches, stop and read failures, excerpts
// that are safe to show, and the search of an image or folder.
#include "engine/image_search.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "engine/text_codec.h"
#include "engine/text_format.h"
#include "tests/support/test_support.h"

namespace velkor {

using test::Recorder;
namespace {

using namespace std::literals;

constexpr uint64_t kW = kWindowSize;

std::vector<uint8_t> Bytes(std::string_view text) {
  return {text.begin(), text.end()};
}

void Put(std::vector<uint8_t>& image, uint64_t offset, const std::vector<uint8_t>& bytes) {
  std::copy(bytes.begin(), bytes.end(), image.begin() + static_cast<std::ptrdiff_t>(offset));
}

std::vector<uint64_t> Hits(ImageSource& image, const std::vector<uint8_t>& pattern,
                           SearchEnd* end = nullptr, ProgressSink* progress = nullptr,
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

// Every start from a few bytes before a window boundary to just after it, for
// patterns of several lengths: each match is reported once, at its offset.
TEST(FindInImageTest, MatchesAroundWindowBoundariesAreFoundOnce) {
  for (const std::string needle : {"Q", "QZ", "QZXYW", "QZXYWVUTSR"}) {
    for (uint64_t back = 0; back <= needle.size(); ++back) {
      std::vector<uint8_t> bytes(3 * kW + 7, 0);
      Put(bytes, kW - back, Bytes(needle));
      Put(bytes, 2 * kW - back, Bytes(needle));
      MemoryImageSource image(bytes);
      EXPECT_EQ(Hits(image, Bytes(needle)), (std::vector<uint64_t>{kW - back, 2 * kW - back}))
          << needle << " " << back << " bytes before the boundaries";
    }
  }
}

TEST(FindInImageTest, ShortReadsLoseNoHitsOrExcerpts) {
  std::vector<uint8_t> bytes(2 * kW + 100, 0);
  const std::vector<uint64_t> at = {5000, kW - 3, kW + 700000, 2 * kW + 90};
  for (uint64_t offset : at) Put(bytes, offset, Bytes("NEEDLE"));
  // At most 4093 bytes a read, as a network share may hand out.
  auto image = test::MemoryOpener(bytes);
  auto dribble = test::FaultyOpener(image, {.chunk = 4093})("");
  EXPECT_EQ(Hits(*dribble, Bytes("NEEDLE")), at);
  EXPECT_NE(ToUtf8(SearchExcerpt(*dribble, kW - 3, 6, SearchEncoding::kAscii)).find("NEEDLE"),
            std::string::npos);
}

// Matches at the first and last bytes, cut by the image end, overlapping.
TEST(FindInImageTest, EdgesAndOverlaps) {
  std::vector<uint8_t> edges(kW + 10, '.');
  Put(edges, 0, Bytes("ab"));
  Put(edges, edges.size() - 2, Bytes("ab"));
  std::vector<uint8_t> overlaps(kW + 4, 0);
  Put(overlaps, kW - 3, Bytes("aaaaa"));
  const struct {
    const std::vector<uint8_t>& image;
    std::string pattern;
    std::vector<uint64_t> hits;
  } cases[] = {
      {edges, "ab", {0, kW + 8}},
      {edges, "abc", {}},
      {overlaps, "aaa", {kW - 3, kW - 2, kW - 1}},
  };
  for (const auto& c : cases) {
    MemoryImageSource image(c.image);
    EXPECT_EQ(Hits(image, Bytes(c.pattern)), c.hits) << c.pattern;
  }
  MemoryImageSource shorter(Bytes("ab"));
  SearchEnd end{};
  EXPECT_TRUE(Hits(shorter, Bytes("abc"), &end).empty());
  EXPECT_EQ(end, SearchEnd::kDone);
}

TEST(FindInImageTest, ProgressStopAndReadFailure) {
  std::vector<uint8_t> bytes(3 * kW, 0);
  Put(bytes, 5, Bytes("hit"));
  Put(bytes, kW + 10, Bytes("hit"));
  Put(bytes, 2 * kW + 5, Bytes("hit"));
  MemoryImageSource image(bytes);
  Recorder recorder;
  Hits(image, Bytes("x"), nullptr, &recorder);
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"range 3", "pos 0", "pos 1", "pos 2"}));

  // A stop ends the search after the current window.
  const std::atomic<bool> stop{true};
  SearchEnd end{};
  EXPECT_EQ(Hits(image, Bytes("hit"), &end, nullptr, &stop), std::vector<uint64_t>{5});
  EXPECT_EQ(end, SearchEnd::kStopped);

  // The window at kW cannot be read; a search that went on would find more.
  auto holed = test::FaultyOpener(test::MemoryOpener(bytes), {.bad = {{kW, 1}}})("");
  std::vector<uint64_t> hits;
  uint64_t failed = 0;
  end = FindInImage(
      *holed, Bytes("hit"), [&](uint64_t at) { hits.push_back(at); }, nullptr, nullptr, &failed);
  EXPECT_EQ(end, SearchEnd::kReadFailed);
  EXPECT_EQ(failed, kW);
  EXPECT_EQ(hits, std::vector<uint64_t>{5});
}

std::vector<uint8_t> Padded(std::string_view left, std::string_view middle,
                            std::string_view right) {
  std::vector<uint8_t> bytes = Bytes(left);
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
      {"controls and line ends",
       Padded("a\x01\r\n"sv, "hit"sv,
              "\t\x7f"
              "b"sv),
       4, 3, SearchEncoding::kAscii, u"a...hit..b"},
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
  void ServeBytes(std::vector<uint8_t> bytes) { input.imageOpener = test::MemoryOpener(bytes); }
  std::vector<std::string> Logs() const { return recorder.logs; }

  ScanInput input;
  Recorder recorder;
};

TEST_F(SearchImageTest, ListsHitsWithFileOffsetAndExcerpt) {
  std::vector<uint8_t> bytes(2 * kW, 0);
  Put(bytes, kW - 1, Bytes("needle"));
  ServeBytes(bytes);
  const ImageSearchSummary summary = SearchImage(input, Bytes("needle"), SearchEncoding::kUtf8, 10);
  EXPECT_EQ(summary.hits, 1u);
  EXPECT_EQ(recorder.texts, (std::vector<std::string>{"已经找到 1 处", "已经找到 1 处"}));
  EXPECT_EQ(Logs(), (std::vector<std::string>{
                        "0 Search phone.img,位置1048575: ................needle................",
                        "0 Search 搜索结束,找到 1 处"}));
}

TEST_F(SearchImageTest, ListsNoMoreThanAskedButCountsAll) {
  std::vector<uint8_t> bytes(4096, 'z');
  ServeBytes(bytes);
  const ImageSearchSummary summary = SearchImage(input, Bytes("zz"), SearchEncoding::kAscii, 3);
  EXPECT_EQ(summary.hits, 4095u);
  EXPECT_EQ(summary.listed, 3u);
  ASSERT_EQ(recorder.logs.size(), 4u);
  EXPECT_EQ(recorder.logs.back(), "0 Search 搜索结束,找到 4095 处,只列出前 3 处");
}

TEST_F(SearchImageTest, UnopenableImageIsLogged) {
  input.imageOpener = [](const std::filesystem::path&) { return std::unique_ptr<ImageSource>(); };
  SearchImage(input, Bytes("x"), SearchEncoding::kUtf8, 10);
  EXPECT_EQ(Logs(), (std::vector<std::string>{"3 error 打開/創建設備phone.img失敗",
                                              "0 Search 搜索结束,找到 0 处"}));
}

TEST_F(SearchImageTest, StoppedSearchSaysSo) {
  std::vector<uint8_t> bytes(2 * kW, 0);
  Put(bytes, kW + 1, Bytes("late"));
  ServeBytes(bytes);
  const std::atomic<bool> stop{true};
  input.stop = &stop;
  const ImageSearchSummary summary = SearchImage(input, Bytes("late"), SearchEncoding::kUtf8, 10);
  EXPECT_TRUE(summary.stopped);
  EXPECT_EQ(Logs().back(), "0 Search 搜索已停止,找到 0 处");
}

TEST_F(SearchImageTest, BackupFolderFilesInNameOrderSubfoldersSkipped) {
  const test::TempFolder temp;
  const std::filesystem::path& folder = temp.path;
  std::filesystem::create_directories(folder / "sub");
  auto write = [](const std::filesystem::path& path, std::string_view text) {
    std::ofstream(path, std::ios::binary) << text;
  };
  write(folder / "b", "..key");
  write(folder / "a", "key");
  write(folder / "sub" / "c", "key");
  input.platform = kPlatformItunes;
  input.imagePath = folder;
  input.imageOpener = OpenImageFile;
  const ImageSearchSummary summary = SearchImage(input, Bytes("key"), SearchEncoding::kAscii, 10);
  EXPECT_EQ(summary.hits, 2u);
  ASSERT_EQ(recorder.logs.size(), 3u);
  EXPECT_EQ(recorder.logs[0], "0 Search " + ToUtf8(PathText(folder / "a")) + ",位置0: key");
  EXPECT_EQ(recorder.logs[1], "0 Search " + ToUtf8(PathText(folder / "b")) + ",位置2: ..key");
}

}  // namespace
}  // namespace velkor
