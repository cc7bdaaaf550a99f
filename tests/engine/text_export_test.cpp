// The text export written by several threads at once: every file's pieces
// land in row order, whatever thread formatted them.
#include "engine/text_export.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/text_format.h"
#include "tests/support/test_doubles.h"
#include "tests/support/test_support.h"

namespace velkor {
namespace {

// Rows of uneven length, some long, so the pieces differ in size and a file
// takes several of them.
std::vector<RowTexts> Rows(size_t count, size_t seed) {
  std::vector<RowTexts> rows(count);
  for (size_t i = 0; i < count; ++i) {
    const size_t length = (i * 7919 + seed) % 97 == 0 ? 20000 : (i + seed) % 3000;
    rows[i] = {DecimalText(uint64_t{i} + 1), std::u16string(length, char16_t(u'a' + i % 26)),
               DecimalText(uint64_t{seed})};
  }
  return rows;
}

TEST(TextExports, FilesWrittenSideBySideEqualTheirBytesForAnyThreadCount) {
  const test::TempFolder folder;
  const struct {
    size_t rows;
    size_t columns;
  } files[] = {{3000, 3}, {0, 3}, {1200, 3}, {500, 0}, {2500, 2}, {2000, 5}};
  std::vector<std::vector<RowTexts>> rows;
  for (size_t f = 0; f < std::size(files); ++f) rows.push_back(Rows(files[f].rows, f));
  for (const uint32_t threads : {1u, 2u, 3u}) {
    std::vector<TextExportJob> jobs;
    for (size_t f = 0; f < std::size(files); ++f) {
      const std::vector<RowTexts>& list = rows[f];
      const size_t columns = files[f].columns;
      jobs.push_back(
          TextListJob(folder.path / std::to_string(f), list.size(), columns,
                      [&list, columns](size_t first, size_t last, std::string& out) {
                        const std::vector<RowTexts> part(list.begin() + first, list.begin() + last);
                        out += TextExportBytes(part, columns).substr(kUtf16LeMark.size());
                      }));
    }
    const std::vector<char> written = WriteTextExports(jobs, threads);
    for (size_t f = 0; f < std::size(files); ++f) {
      SCOPED_TRACE("file " + std::to_string(f) + ", threads " + std::to_string(threads));
      EXPECT_TRUE(written[f]);
      EXPECT_TRUE(test::ReadText(jobs[f].path) == TextExportBytes(rows[f], files[f].columns));
    }
  }
}

}  // namespace
}  // namespace velkor
