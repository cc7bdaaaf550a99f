// What the program writes out of recovered data. Recovered texts are data:
// format directives, markup and shell syntax in a message reach the export
// byte for byte and are never interpreted; carved files are named only by
// their row number and extension, inside the chosen folder, whatever bytes
// surround them in the image.
#include <gtest/gtest.h>

#include "tests/carving/carving_test_support.h"
#include "tests/e2e/e2e_support.h"
#include "tests/faults/fault_support.h"

namespace velkor::faults {
namespace {

namespace fs = std::filesystem;
using namespace velkor::e2e;

TEST(OutputSafety, HostileTextsAreExportedVerbatim) {
  const fs::path folder = FreshFolder("hostile-text");
  const char* const hostile[] = {
      "%s%s%s%n%n%x%p",
      "<b>bold</b><script>alert(1)</script><img src=x onerror=alert(1)>",
      "$(touch PWNED) `touch PWNED2`; rm -rf PWNED3 | cat /etc/passwd > PWNED4",
      "line\r\nbreak\ttab \\ \" ' {} %1$s",
      "&lt;&#x41; \\x41 %%d \\u0041",
  };
  TableRows rows{3, {}, {}};
  for (int i = 0; i < 5; ++i) {
    Message message = SampleMessage(3, i);
    message.content = hostile[i];
    message.number = std::string(hostile[i]).substr(0, 12);
    rows.rows.emplace_back(i + 1, message);
  }
  DatabasePlan plan;
  plan.name = "mmssms.db";
  plan.tables = {rows};
  const FixtureDatabase db = BuildDatabase(plan, folder / "db");
  ImageBuilder image(kMiB, Filler::kZeros);
  image.PlaceDatabase(4096, db);
  image.WriteFile(folder / "phone.img");

  std::string output;
  const fs::path out = folder / "out";
  ASSERT_EQ(RunVelkor({"records", folder / "phone.img", "--out", out}, output), 0) << output;
  const ExpectedStores stores = StoresFrom(OccurrencesInScanOrder(image, {db}, kPlatformAndroid));
  ASSERT_EQ(stores.sms.size(), 5u);
  const std::vector<uint8_t> exported = ReadBytes(out / "信息.txt");
  const std::string expected = ExpectedExportBytes(ExpectedRows(stores, kTabSms, false));
  EXPECT_TRUE(std::string(exported.begin(), exported.end()) == expected);
  for (const char* name : {"PWNED", "PWNED2", "PWNED4"}) {
    EXPECT_FALSE(fs::exists(name));
    EXPECT_FALSE(fs::exists(out / name));
  }
  fs::remove_all(folder);
}

TEST(OutputSafety, CarvedFilesAreNamedByRowAndExtensionOnly) {
  const fs::path folder = FreshFolder("carved-names");
  test::Bytes image(kMiB, 0);
  // Path-like and directive-like bytes everywhere around the pictures.
  const std::string noise = "../../../etc/passwd%n%s/..\\..\\C:\\x\0/tmp/";
  for (size_t at = 0; at < image.size(); ++at)
    image[at] = static_cast<uint8_t>(noise[at % noise.size()]);
  test::Place(image, 4096, test::MakePng(2, 2));
  test::Place(image, 8192, test::MakeJfif());
  test::Place(image, 65536, test::MakeGif("89a"));
  WriteBytes(folder / "phone.img", image);

  std::string output;
  const fs::path out = folder / "found";
  ASSERT_EQ(RunVelkor({"pictures", folder / "phone.img", "--formats", "all", "--out", out}, output),
            0)
      << output;
  EXPECT_EQ(FolderNames(out), (std::vector<std::string>{"0.png", "1.jpg", "2.gif"}));
  EXPECT_EQ(FolderNames(folder), (std::vector<std::string>{"found", "phone.img"}));
  fs::remove_all(folder);
}

}  // namespace
}  // namespace velkor::faults
