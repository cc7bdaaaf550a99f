// The text file a record list is saved as.
#include "engine/text_export.h"

#include <gtest/gtest.h>

#include "tests/support/test_support.h"

namespace velkor::test {
namespace {

namespace fs = std::filesystem;

// The expected file built independently: mark, then UTF-16LE of each line.
std::string Utf16File(std::initializer_list<std::u16string> lines) {
  std::string out("\xFF\xFE", 2);
  for (const std::u16string& line : lines) {
    for (char16_t unit : line + u"\r\n") {
      out.push_back(static_cast<char>(unit & 0xFF));
      out.push_back(static_cast<char>(unit >> 8));
    }
  }
  return out;
}

TEST(TextExport, EachRowIsItsCellsThenAnEmptyLine) {
  const std::vector<RowTexts> rows = {
      {u"1", u"10086", u"接收", u"2012-03-04 05:06:07", u"你好 😀"},
      {u"2", u"+8613800000000", u"发送", u"", u"ok"},
  };
  EXPECT_EQ(TextExportBytes(rows, 5),
            Utf16File({u"1", u"10086", u"接收", u"2012-03-04 05:06:07", u"你好 😀", u"", u"2",
                       u"+8613800000000", u"发送", u"", u"ok", u""}));
}

TEST(TextExport, ColumnCountDecidesTheCells) {
  const std::vector<RowTexts> rows = {{u"a", u"b", u"c"}, {u"d"}};
  const struct {
    size_t columns;
    std::string bytes;
  } cases[] = {
      {0, std::string("\xFF\xFE", 2)},  // just the mark
      {1, Utf16File({u"a", u"", u"d", u""})},
      {3, Utf16File({u"a", u"b", u"c", u"", u"d", u"", u"", u""})},  // missing cells empty
  };
  for (const auto& c : cases) EXPECT_EQ(TextExportBytes(rows, c.columns), c.bytes) << c.columns;
  EXPECT_EQ(TextExportBytes({}, 5), std::string("\xFF\xFE", 2));
}

TEST(TextExport, WritesTheFileOrNothing) {
  TempFolder temp;
  const fs::path& folder = temp.path;
  fs::create_directories(folder / "taken");
  fs::create_symlink("/dev/full", folder / "full.txt");
  const std::vector<RowTexts> rows = {{u"1", u"短信"}};

  EXPECT_TRUE(WriteTextExport(folder / "out.txt", rows, 2));
  EXPECT_EQ(ReadText(folder / "out.txt"), TextExportBytes(rows, 2));

  EXPECT_FALSE(WriteTextExport(folder / "taken", rows, 2));        // a folder
  EXPECT_FALSE(WriteTextExport(folder / "no/such.txt", rows, 2));  // no parent
  EXPECT_FALSE(WriteTextExport(folder / "full.txt", rows, 2));     // disk full
  EXPECT_FALSE(fs::exists(fs::symlink_status(folder / "full.txt")));
  EXPECT_TRUE(fs::is_directory(folder / "taken"));
}

}  // namespace
}  // namespace velkor::test
