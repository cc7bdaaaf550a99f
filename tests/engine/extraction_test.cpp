// What each category copies into the stores, and the acceptance rules.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/record_scan_parts.h"
#include "engine/text_codec.h"
#include "engine/text_format.h"

namespace velkor {
namespace {

// n columns, all "", with the given ones set.
ColumnMap ColsWith(size_t n, std::vector<std::pair<size_t, std::string>> set) {
  ColumnMap m;
  m.columns.resize(n);
  for (auto& [i, t] : set) m.columns[i] = FromUtf8(t);
  return m;
}

// Columns from UTF-8 strings; index = position.
ColumnMap Cols(const std::vector<std::string>& texts) {
  ColumnMap m;
  for (const std::string& text : texts) m.columns.push_back(FromUtf8(text));
  return m;
}

// The fields of a record joined with "|", after the name of its store.
template <typename... Fields>
std::string Line(const char* store, const Fields&... fields) {
  std::string line = store;
  const auto field = [](const auto& f) {
    if constexpr (std::is_integral_v<std::decay_t<decltype(f)>>)
      return std::to_string(f);
    else
      return ToUtf8(f);
  };
  ((line += "|" + field(fields)), ...);
  return line;
}

class ExtractTest : public ::testing::Test {
 protected:
  void Extract(RecordCategory category, const ColumnMap& c, uint8_t platform = kPlatformAndroid,
               uint64_t rowid = 1) {
    RecordBatch batch;
    ExtractRecordInto(batch, platform, category, c, Varint{rowid, 1});
    CommitBatch(batch, stores, contactParts);
  }
  // Every store and waiting contact part, one line per record.
  std::vector<std::string> Found() const {
    std::vector<std::string> out;
    for (const auto& r : stores.sms)
      out.push_back(Line("sms", r.number, r.content, r.status, r.time));
    for (const auto& r : stores.calls)
      out.push_back(Line("call", r.number, r.name, r.location, r.time, r.callType, r.count));
    for (const auto& r : stores.contactEvents)
      out.push_back(
          Line("event", r.number, r.name, r.location, r.content, r.time, r.direction, r.count));
    for (const auto& r : stores.weChat) out.push_back(Line("wechat", r.contact, r.content, r.time));
    for (const auto& r : stores.phoneBook) out.push_back(Line("book", r.name, r.number));
    for (const auto& [key, part] : contactParts)
      out.push_back(Line("part", key, part.mark, part.text));
    return out;
  }
  RecordStores stores;
  ContactPartMap contactParts;
};

using Lines = std::vector<std::string>;

ColumnMap ContactData(const std::string& mime, const std::string& key, const std::string& text) {
  return ColsWith(20, {{2, mime}, {3, key}, {4, "1"}, {5, "1"}, {8, text}});
}

TEST_F(ExtractTest, ContactPartsByMimeTypeWithTheirKeyColumnsSet) {
  Extract(1, ContactData("6", "42", "Alice"));
  Extract(1, ContactData("5", "42", "13800138000"));
  Extract(1, ContactData("7", "7", "Bob"));
  Extract(1, ContactData("8", "42", "dropped"));  // not a name or number kind
  Extract(1, ContactData("5", "42", ""));         // empty text
  ColumnMap noC4 = ContactData("6", "42", "Alice");
  noC4.columns[4].clear();
  Extract(1, noC4);
  Extract(1, ColsWith(8, {{2, "6"}, {3, "1"}, {4, "1"}, {5, "1"}}));  // no column 8
  // Category 2 takes its text from column 7.
  Extract(2, ColsWith(8, {{2, "6"}, {3, "1"}, {4, "1"}, {5, "1"}, {7, "Carol"}}));
  EXPECT_EQ(Found(),
            (Lines{"part|1|0|Carol", "part|7|0|Bob", "part|42|0|Alice", "part|42|1|13800138000"}));
}

TEST_F(ExtractTest, PhoneBookMergesByKey) {
  Extract(1, ContactData("6", "42", "A"));
  Extract(1, ContactData("5", "42", "B"));
  Extract(1, ContactData("6", "42", "A"));
  Extract(1, ContactData("5", "42", "12345"));
  Extract(1, ContactData("5", "42", "234"));  // inside an earlier number
  Extract(1, ContactData("6", "3", "Z"));     // lower key comes first
  BuildPhoneBook(contactParts, stores.phoneBook);
  EXPECT_EQ(Found(), (Lines{"book|Z|", "book|A|B,12345"}));
}

ColumnMap Sms3(const std::string& time, const std::string& c8, const std::string& c9,
               size_t n = 18) {
  return ColsWith(n, {{2, "10086"}, {4, time}, {8, c8}, {9, c9}, {11, "hel"}, {12, "lo"}});
}

TEST_F(ExtractTest, ShortMessages) {
  Extract(3, Sms3("1000", "1", "0"));  // time at the bound: dropped
  Extract(3, Sms3("1001", "1", "2"));  // c8 = 1 wins over c9
  Extract(4, Sms3("5000", "0", "2"));  // status from c9
  Extract(3, Sms3("-5", "7", "9"));    // negative time passes; status 9 kept
  // Column 9 is needed only when c8 is no status; it may be empty.
  Extract(3, ColsWith(13, {{2, "1"}, {4, "2000"}, {8, "1"}, {11, "x"}}));
  Extract(3, ColsWith(13, {{2, "2"}, {4, "2000"}, {8, "0"}, {11, "x"}}));
  Extract(3, Cols({"", "", "3", "", "2000", "", "", "", "0"}));  // no c11, c12: dropped
  // Category 16 needs a number or a content.
  Extract(16, ColsWith(15, {{5, "2000"}, {10, "1"}, {13, "only text"}}));
  Extract(16, ColsWith(15, {{2, "10010"}, {5, "2000"}, {10, "2"}}));
  Extract(16, ColsWith(15, {{5, "2000"}, {10, "2"}}));
  EXPECT_EQ(Found(), (Lines{"sms|10086|hello|1|1001", "sms|10086|hello|2|5000",
                            "sms|10086|hello|9|-5", "sms|1|x|1|2000", "sms|2|x|0|2000",
                            "sms||only text|1|2000", "sms|10010||2|2000"}));
}

// Which column holds what in each call and event category is pinned by the
// exports of the fixture images; here the values no database would hold.
TEST_F(ExtractTest, CallsAndContactEventsOfHostileValues) {
  // Eight FF bytes read 18446744073709551615: the time saturates, the count
  // is held at the 32-bit maximum, the type keeps the low 8 bits.
  const std::string ff = "18446744073709551615";
  Extract(8, ColsWith(20, {{1, "1"}, {2, ff}, {3, ff}, {4, "257"}, {6, "n"}}));
  // Category 11 with 19 columns lacks its content column; 9 needs 18 and 21.
  Extract(11, ColsWith(19, {{1, "1"}, {3, "2000"}, {8, "n"}}));
  Extract(9, ColsWith(35, {{1, "1"}, {3, "2000"}, {18, "x"}}));
  Extract(10, ColsWith(19, {{1, "2"}, {3, ff}, {4, "-1"}, {5, ff}, {7, "m"}, {17, "t"}}));
  EXPECT_EQ(Found(), (Lines{"call|1|n||9223372036854775807|1|4294967295",
                            "event|2|m||t|9223372036854775807|255|4294967295"}));
}

TEST_F(ExtractTest, IosContactParts) {
  Extract(12, ColsWith(20, {{1, "San"}, {2, "Zhang"}, {18, "x"}}), kPlatformIos, 77);
  Extract(12, ColsWith(20, {{1, "Si"}, {2, "Li"}}), kPlatformIos, 78);  // no column 18
  Extract(13, Cols({"1", "77", "0", "0", "0", "13900000000"}), kPlatformIos);
  Extract(13, Cols({"1", "77", "0", "0", "0", "13911111111", "x"}), kPlatformIos);  // 7 columns
  BuildPhoneBook(contactParts, stores.phoneBook);
  EXPECT_EQ(Found(), (Lines{"book|ZhangSan|13900000000"}));
}

}  // namespace
}  // namespace velkor
