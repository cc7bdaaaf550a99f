// Column decoding: integer widths, cut columns at the window end, the
// 35-column cap, and the text conversion of every text or blob field.
#include "engine/record_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/scan_input.h"
#include "engine/text_codec.h"
#include "engine/text_format.h"
#include "tests/support/cell_bytes.h"

namespace velkor {
namespace {

std::string Joined(const std::vector<std::string>& texts) {
  std::string out;
  for (size_t i = 0; i < texts.size(); ++i) out += (i == 0 ? "" : "|") + texts[i];
  return out;
}

// A cell at the start of a window that ends `cut` bytes before the cell does;
// the columns joined with '|', the signature one digit a column.
struct DecodeCase {
  const char* name;
  std::vector<uint8_t> cell;
  size_t cut;
  bool ok;
  std::string columns;
  std::string codes;
};

TEST(DecodeColumns, WidthsConstantsAndTheWindowEnd) {
  const std::string ff4 = "255|255|255|255|";
  const DecodeCase cases[] = {
      {"hello", kHelloCell, 0, true, "1|2|3|4|hello", "11112"},
      {"header ends at the window end", kHelloCell, 9, false, "", ""},
      {"constants, NULL", CellWithTypes({8, 9, 0, 1, 23}), 0, true, "0|1||65|AAAAA", "11312"},
      // The 4-byte column has only 01 01 in the window; the sixth starts past it.
      {"column cut", CellWithTypes({1, 1, 1, 1, 4, 1}, 1, 1), 3, true, "1|1|1|1|257", "11111"},
      {"text at the end", CellWithTypes({1, 1, 1, 1, 23, 2}), 7, true, "65|65|65|65|", "11112"},
      // Integers are never sign-extended; a double's bits read as an integer.
      {"2", CellWithTypes({1, 1, 1, 1, 2}, 1, 0xFF), 0, true, ff4 + "65535", "11111"},
      {"3", CellWithTypes({1, 1, 1, 1, 3}, 1, 0x80), 0, true, "128|128|128|128|8421504", "11111"},
      {"4", CellWithTypes({1, 1, 1, 1, 4}, 1, 0xFF), 0, true, ff4 + "4294967295", "11111"},
      {"6", CellWithTypes({1, 1, 1, 1, 5}, 1, 0xFF), 0, true, ff4 + "281474976710655", "11111"},
      {"8", CellWithTypes({1, 1, 1, 1, 6}, 1, 0xFF), 0, true, ff4 + "18446744073709551615",
       "11111"},
      {"double", CellWithTypes({1, 1, 1, 1, 7}, 1, 0x40), 0, true,
       "64|64|64|64|4629771061636907072", "11111"},
      {"at most 35 columns", CellOfIntegers(40), 0, true,
       Joined(std::vector<std::string>(35, "65")), std::string(35, '1')}};
  for (const DecodeCase& c : cases) {
    std::vector<uint8_t> bytes = c.cell;
    const auto available = static_cast<int32_t>(bytes.size() - c.cut);
    bytes.resize(bytes.size() + kWindowSlack, 0);
    CellCandidate candidate;
    ASSERT_TRUE(DetectCell(bytes.data(), available, candidate)) << c.name;
    ColumnMap columns;
    TypeSignature signature{};
    EXPECT_EQ(DecodeColumns(bytes.data(), available, candidate, columns, signature), c.ok)
        << c.name;
    std::vector<std::string> texts;
    for (size_t i = 0; i < columns.Count(); ++i) texts.push_back(ToUtf8(columns.At(i)));
    EXPECT_EQ(Joined(texts), c.columns) << c.name;
    std::string codes;
    for (uint8_t code : signature) {
      if (code != 0) codes.push_back(static_cast<char>('0' + code));
    }
    if (c.ok) {
      EXPECT_EQ(codes, c.codes) << c.name;
    }
    // The serial types alone give the same codes.
    SignatureBits fromTypes;
    ColumnMap located;
    EXPECT_EQ(LocateColumns(bytes.data(), available, candidate, located, fromTypes), c.ok)
        << c.name;
    const auto count = static_cast<uint32_t>(candidate.serialTypes.size());
    EXPECT_EQ(fromTypes.words, ToSignatureBits(signature, count).words) << c.name;
    EXPECT_EQ(fromTypes.columns, count) << c.name;
  }
}

// Texts are converted only when read, yet every text column is blanked at
// once (a later cell may overlap it), and a map reused for the next cell
// shows none of the last cell's texts, full forms included.
TEST(DecodeColumns, TextsReadLaterFromTheBlankedCell) {
  const std::string lossy = "\xF0\x9F\x98\x80";  // U+1F600, '?' in the code page
  const std::string zeroed("a\0b\0", 4);
  std::vector<uint8_t> first = CellOf({Num(1), Txt(zeroed), Num(2), Num(3), Txt(lossy)});
  std::vector<uint8_t> second = CellOf({Num(4), Num(5), Num(6), Num(7), Num(8)});
  ColumnMap columns;
  TypeSignature signature{};
  std::vector<std::string> shown;
  for (std::vector<uint8_t>* cell : {&first, &second}) {
    const auto available = static_cast<int32_t>(cell->size());
    const std::vector<uint8_t> before = *cell;
    cell->resize(cell->size() + kWindowSlack, 0);
    CellCandidate candidate;
    ASSERT_TRUE(DetectCell(cell->data(), available, candidate));
    ASSERT_TRUE(DecodeColumns(cell->data(), available, candidate, columns, signature));
    const auto text = std::search(cell->begin(), cell->end(), zeroed.begin(), zeroed.end() - 1);
    if (cell == &first) {
      EXPECT_EQ(text, cell->end()) << "the inner zero is still in the cell";
    }
    shown.push_back(ToUtf8(columns.At(1)) + "|" + ToUtf8(columns.At(4)) + "|" +
                    ToUtf8(columns.FullAt(4)));
  }
  EXPECT_EQ(shown, (std::vector<std::string>{"a b|?|" + lossy, "5|8|8"}));
}

// Zeros show as spaces (a trailing one is dropped), in plain ASCII as before
// the code page pass, which the engine tests compare with ICU's.
TEST(DecodeText, Zeros) {
  const struct {
    std::string utf8;
    std::string shown;
  } cases[] = {{std::string("ab\0c", 4), "ab c"},
               {std::string("abc\0", 4), "abc"},
               {std::string("\0\0", 2), " "},
               {"", ""},
               {std::string("\xE7\x9F\xAD\0\xF0\x9F\x98\x80\0", 9), "短 ?"}};
  for (const auto& c : cases) {
    std::vector<uint8_t> buffer(c.utf8.begin(), c.utf8.end());
    EXPECT_EQ(ToUtf8(DecodeText(buffer.data(), buffer.size())), c.shown) << c.utf8;
  }
}

}  // namespace
}  // namespace velkor
