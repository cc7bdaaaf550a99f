// Column decoding: integer widths, cut columns at the window end, the
// 35-column cap, and the text conversion of every text or blob field.
#include "engine/record_decoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/scan_input.h"
#include "engine/text_codec.h"
#include "engine/text_format.h"
#include "tests/support/cell_bytes.h"

namespace velkor {
namespace {

struct Decoded {
  bool ok = false;
  std::vector<std::string> columns;  // UTF-8 for readable failures
  TypeSignature signature{};
};

// Detects and decodes a cell held at the start of a window of `available`
// bytes (the whole cell when negative), with zero slack after it.
Decoded DecodeCell(std::vector<uint8_t> bytes, int32_t available = -1) {
  const int32_t n = available < 0 ? static_cast<int32_t>(bytes.size()) : available;
  bytes.resize(bytes.size() + kWindowSlack, 0);
  CellCandidate candidate;
  Decoded out;
  if (!DetectCell(bytes.data(), n, candidate)) {
    ADD_FAILURE() << "cell not detected";
    return out;
  }
  ColumnMap columns;
  out.ok = DecodeColumns(bytes.data(), n, candidate, columns, out.signature);
  for (const auto& c : columns.columns) out.columns.push_back(ToUtf8(c));
  return out;
}

std::string Convert(std::string bytes) {
  std::vector<uint8_t> buffer(bytes.begin(), bytes.end());
  return ToUtf8(DecodeText(buffer.data(), buffer.size()));
}

TEST(DecodeColumns, SeventeenByteCell) {
  Decoded d = DecodeCell(kHelloCell);
  ASSERT_TRUE(d.ok);
  EXPECT_EQ(d.columns, (std::vector<std::string>{"1", "2", "3", "4", "hello"}));
  const TypeSignature expected = {1, 1, 1, 1, 2};
  EXPECT_EQ(d.signature, expected);
}

TEST(DecodeColumns, HeaderEndingAtWindowEndDecodesNothing) {
  // Lead bytes 3 + serial types 5: the body would start at byte 8.
  Decoded d = DecodeCell(kHelloCell, 8);
  EXPECT_FALSE(d.ok);
  EXPECT_TRUE(d.columns.empty());
}

TEST(DecodeColumns, AtMost35Columns) {
  Decoded d = DecodeCell(CellOfIntegers(40));
  ASSERT_TRUE(d.ok);
  EXPECT_EQ(d.columns.size(), 35u);
  EXPECT_EQ(d.signature[34], kTypeNumber);
  EXPECT_EQ(d.signature[35], kTypeNone);
}

TEST(DecodeColumns, ColumnCutAtWindowEnd) {
  // Types 1, 1, 1, 1, 4, 1: the 4-byte column has only 01 02 in the window.
  std::vector<uint8_t> cell = CellWithTypes({1, 1, 1, 1, 4, 1});
  const size_t bodyStart = cell.size() - 9;
  cell[bodyStart + 4] = 0x01;
  cell[bodyStart + 5] = 0x02;
  Decoded d = DecodeCell(cell, static_cast<int32_t>(bodyStart + 6));
  ASSERT_TRUE(d.ok);
  ASSERT_EQ(d.columns.size(), 5u);  // the sixth starts past the window end
  EXPECT_EQ(d.columns[4], "258");
}

TEST(DecodeColumns, ColumnStartingExactlyAtWindowEnd) {
  // Body bytes 4 x 1-byte ints, then a 5-byte text and a 2-byte int that
  // start at the window end: read from zero bytes.
  std::vector<uint8_t> cell = CellWithTypes({1, 1, 1, 1, 23, 2});
  const size_t bodyStart = cell.size() - 11;
  Decoded d = DecodeCell(cell, static_cast<int32_t>(bodyStart + 4));
  ASSERT_TRUE(d.ok);
  ASSERT_EQ(d.columns.size(), 5u);
  EXPECT_EQ(d.columns[4], "");
  EXPECT_EQ(d.signature[4], kTypeText);
}

TEST(DecodeColumns, ConstantsAndNull) {
  Decoded d = DecodeCell(CellWithTypes({8, 9, 0, 1, 23}));
  ASSERT_TRUE(d.ok);
  EXPECT_EQ(d.columns[0], "0");
  EXPECT_EQ(d.columns[1], "1");
  EXPECT_EQ(d.columns[2], "");
  EXPECT_EQ(d.columns[3], "65");  // 0x41 body byte, no body consumed before it
  const TypeSignature expected = {1, 1, 3, 1, 2};
  EXPECT_EQ(d.signature, expected);
}

TEST(DecodeColumns, IntegersAreNeverSignExtended) {
  struct Case {
    uint64_t type;
    uint8_t fill;
    std::string text;
  } cases[] = {
      {1, 0xFF, "255"},
      {2, 0xFF, "65535"},
      {3, 0x80, "8421504"},
      {4, 0xFF, "4294967295"},
      {5, 0xFF, "281474976710655"},
      {6, 0xFF, "18446744073709551615"},
      {7, 0x40, "4629771061636907072"},  // a double's bits, read as an integer
  };
  for (const Case& c : cases) {
    Decoded d = DecodeCell(CellWithTypes({1, 1, 1, 1, c.type}, 1, c.fill));
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.columns[4], c.text) << "type " << c.type;
    EXPECT_EQ(d.signature[4], kTypeNumber);
  }
}

TEST(DecodeText, OverwritesZerosInPlace) {
  // A later record whose field overlaps these bytes reads the spaces.
  std::vector<uint8_t> window = {'a', 0, 'b', 0, 'c'};
  DecodeText(window.data(), 4);
  EXPECT_EQ(window, (std::vector<uint8_t>{'a', ' ', 'b', 0, 'c'}));
  EXPECT_EQ(ToUtf8(DecodeText(window.data() + 1, 4)), " b c");
}

// Zeros show as spaces (a trailing one is dropped); the rest goes through
// code page 936, where the euro sign is byte 0x80.
TEST(DecodeText, ZerosAndCodePage936) {
  struct Case {
    std::string utf8;
    std::string shown;
  } cases[] = {
      {std::string("ab\0c", 4), "ab c"},
      {std::string("abc\0", 4), "abc"},
      {std::string("\0\0", 2), " "},
      {"", ""},
      {"短信 你好", "短信 你好"},
      {"caf\xC3\xA9", "café"},
      {"\xE2\x82\xAC", "€"},
      {"a\xF0\x9F\x98\x80z", "a?z"},  // emoji: one '?', not two
      {"a\xE2\x80\x8D"
       "b",
       "a?b"},  // zero-width joiner
      {"a\xC2\xAD"
       "b",
       "a?b"},                  // soft hyphen
      {"\xEF\xBB\xBFx", "?x"},  // byte-order mark
      {"x\xEF\xB8\x8F", "x?"},  // variation selector 16
      {"\xFF\xFE", "??"},       // a blob
      {"\xE4\xB8"
       "a",
       "?a"},                   // truncated sequence: one replacement
      {"\xC0\xAF", "??"},       // never-valid lead byte
      {"\xED\xA0\x80", "???"},  // encoded surrogate
  };
  for (const Case& c : cases) EXPECT_EQ(Convert(c.utf8), c.shown) << c.utf8;
}

}  // namespace
}  // namespace velkor
