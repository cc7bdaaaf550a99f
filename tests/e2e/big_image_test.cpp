// An image larger than 4 GiB, written as a sparse file, with databases and
// pictures on both sides of the 4 GiB mark and of the 32-bit offset wrap
// inside a window: both commands find them where they lie.
#include <gtest/gtest.h>

#include <sstream>

#include "tests/carving/media_headers.h"
#include "tests/e2e/e2e_support.h"
#include "tests/support/test_support.h"

namespace velkor::e2e {
namespace {

namespace fs = std::filesystem;
constexpr uint64_t kFourGiB = 4 * kGiB;

TEST(BigImage, RecordsAndPicturesAroundAndBeyondFourGiB) {
  const test::TempFolder temp;
  const std::vector<FixtureDatabase> dbs = BuildAndroidSet(temp.path / "db", 12);
  ImageBuilder image(kFourGiB + 8 * kMiB + 333, Filler::kZeros);
  image.PlaceDatabase(kFourGiB - 3 * kMiB + 4096, dbs[0]);
  image.PlaceDatabase(kFourGiB + 4096, dbs[1]);
  image.PlaceDatabase(kFourGiB + kMiB + 4097, dbs[2]);
  image.PlaceDatabase(kFourGiB + 3 * kMiB + 17, dbs[3]);
  image.PlaceDatabase(kFourGiB + 5 * kMiB + 512, dbs[4]);
  const uint64_t png = kFourGiB - 4096, jpg = kFourGiB + 7 * kMiB, gif = kFourGiB + 8 * kMiB - 512;
  image.Place(png, "png", test::HeaderBytes("png"));
  image.Place(jpg, "jpg", test::HeaderBytes("jfif"));
  image.Place(gif, "gif", test::HeaderBytes("gif89a"));
  const fs::path path = temp.path / "big.img";
  image.WriteFile(path);

  std::string output;
  ASSERT_EQ(test::RunVelkor({"records", path, "--out", temp.path / "records"}, output), 0)
      << output;
  const ExpectedStores stores = StoresFrom(OccurrencesInScanOrder(image, dbs, kPlatformAndroid));
  ASSERT_GT(stores.sms.size(), 30u);
  for (const auto& [tab, name] : {std::pair{kTabSms, "信息.txt"}, {kTabPhoneBook, "电话薄.txt"},
                                  {kTabCalls, "通话记录.txt"}, {kTabAllContacts, "其他记录.txt"},
                                  {kTabWeChat, "微信.txt"}}) {
    EXPECT_TRUE(test::ReadText(temp.path / "records" / name) ==
                ExpectedExportBytes(ExpectedRows(stores, tab, false)))
        << name;
  }

  // Starting one window before the mark, to the image's end.
  const fs::path out = temp.path / "found";
  ASSERT_EQ(test::RunVelkor({"pictures", path, "--start", std::to_string((kFourGiB - kMiB) / 512),
                             "--sectors", std::to_string(9 * kMiB / 512), "--block", "512",
                             "--formats", "all", "--out", out},
                            output),
            0)
      << output;
  std::ostringstream listed;
  listed << "0.png\t" << png << "\t" << jpg - png << "\n"
         << "1.jpg\t" << jpg << "\t" << gif - jpg << "\n"
         << "2.gif\t" << gif << "\t" << 104857600 << "\n";
  EXPECT_EQ(test::TabbedLines(output), listed.str());
  std::vector<uint8_t> expected(image.Size() - gif);
  image.ReadRange(gif, expected.data(), expected.size());
  EXPECT_EQ(test::ReadBytes(out / "2.gif"), expected);
}

}  // namespace
}  // namespace velkor::e2e
