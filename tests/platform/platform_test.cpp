// What the platform layer promises, checked on whichever system it was built
// for: names in any script, whole-or-nothing files that replace the old one,
// and the image digest. Reads past 4 GiB are checked through whole scans (the
// command-line tests, and the Windows comparison).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/image_digest.h"
#include "engine/image_source.h"
#include "engine/output_file.h"
#include "engine/platform.h"
#include "tests/support/test_support.h"

namespace velkor::test {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(ImageSource& image) {
  std::string bytes(image.Size(), '\0');
  bytes.resize(ReadFully(image, reinterpret_cast<uint8_t*>(bytes.data()), bytes.size(), 0));
  return bytes;
}

// A name no single ANSI code page holds: Chinese, a space, a character
// beyond the BMP and a Latin letter with a diacritic.
TEST(PlatformFiles, NamesInAnyScriptAreWrittenReplacedListedAndRead) {
  const TempFolder folder;
  const std::u16string name = u"手机 镜像 \U0002000B é.img";
  const fs::path path = folder.path / PathFromText(name);
  ASSERT_TRUE(WriteWholeBytes(path, "first version"));
  ASSERT_TRUE(WriteWholeBytes(path, "second"));

  std::vector<std::u16string> listed;
  for (const auto& entry : fs::directory_iterator(folder.path)) {
    listed.push_back(PathText(entry.path().filename()));
  }
  EXPECT_EQ(listed, std::vector<std::u16string>{name});  // replaced, no partial left
  EXPECT_EQ(platform::PathFromUtf8(platform::PathUtf8(path)), path);

  const auto image = OpenImageFile(path);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(ReadAll(*image), "second");
  EXPECT_EQ(OpenImageFile(folder.path), nullptr);  // a folder is no image
  EXPECT_EQ(OpenImageFile(folder.path / "missing"), nullptr);
  EXPECT_FALSE(WriteWholeBytes(folder.path / "missing" / "x", "y"));
}

// FIPS 180-2's examples, fed in windows of every split the scans may use.
TEST(PlatformDigest, EqualsTheStandardExamplesInAnySplitAndRefusesGaps) {
  const std::string million(1000000, 'a');
  const struct {
    std::string bytes;
    const char* hex;
  } cases[] = {
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {million, "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const auto& c : cases) {
    for (const size_t window : {size_t{1}, size_t{64}, size_t{65537}}) {
      ImageDigest digest;
      const auto* bytes = reinterpret_cast<const uint8_t*>(c.bytes.data());
      for (size_t at = 0; at < c.bytes.size(); at += window) {
        digest.AddWindow(at, {bytes + at, std::min(window, c.bytes.size() - at)});
      }
      EXPECT_EQ(digest.FinishHex(), c.hex) << c.bytes.size() << " in windows of " << window;
    }
  }
  ImageDigest gap;
  gap.AddWindow(0, {reinterpret_cast<const uint8_t*>("ab"), 2});
  gap.AddWindow(3, {reinterpret_cast<const uint8_t*>("c"), 1});
  EXPECT_FALSE(gap.Valid());
  EXPECT_EQ(gap.FinishHex(), "");
}

}  // namespace
}  // namespace velkor::test
