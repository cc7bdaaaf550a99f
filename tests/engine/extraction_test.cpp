// What each category copies into the stores, and the acceptance rules.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/record_scan_parts.h"
#include "engine/text_codec.h"
#include "engine/text_format.h"

namespace velkor {
namespace {

// Columns from UTF-8 strings; index = position.
ColumnMap Cols(std::vector<std::string> texts) {
  ColumnMap m;
  for (auto& t : texts) m.columns.push_back(FromUtf8(t));
  return m;
}

// n columns, all "", with the given ones set.
ColumnMap ColsWith(size_t n, std::vector<std::pair<size_t, std::string>> set) {
  std::vector<std::string> texts(n);
  for (auto& [i, t] : set) texts[i] = t;
  return Cols(texts);
}

class ExtractTest : public ::testing::Test {
 protected:
  void Extract(RecordCategory category, const ColumnMap& c, uint8_t platform = kPlatformAndroid,
               uint64_t rowid = 1) {
    RecordBatch batch;
    ExtractRecordInto(batch, platform, category, c, Varint{rowid, 1});
    CommitBatch(batch, stores, contactParts);
  }
  RecordStores stores;
  ContactPartMap contactParts;
};

ColumnMap ContactData(const std::string& mime, const std::string& key, const std::string& text) {
  return ColsWith(20, {{2, mime}, {3, key}, {4, "1"}, {5, "1"}, {8, text}});
}

TEST_F(ExtractTest, ContactPartsByMimeType) {
  Extract(1, ContactData("6", "42", "Alice"));
  Extract(1, ContactData("5", "42", "13800138000"));
  Extract(1, ContactData("7", "7", "Bob"));
  Extract(1, ContactData("8", "42", "dropped"));  // not a name or number kind
  Extract(1, ContactData("5", "42", ""));         // empty text
  ASSERT_EQ(contactParts.size(), 3u);
  auto range = contactParts.equal_range(42);
  std::vector<std::pair<uint8_t, std::string>> parts;
  for (auto it = range.first; it != range.second; ++it) {
    parts.emplace_back(it->second.mark, ToUtf8(it->second.text));
  }
  EXPECT_EQ(parts,
            (std::vector<std::pair<uint8_t, std::string>>{{0, "Alice"}, {1, "13800138000"}}));
}

TEST_F(ExtractTest, ContactDataNeedsKeyColumnsSet) {
  ColumnMap noC4 = ContactData("6", "42", "Alice");
  noC4.columns[4].clear();
  Extract(1, noC4);
  Extract(1, ColsWith(8, {{2, "6"}, {3, "1"}, {4, "1"}, {5, "1"}}));  // no column 8
  EXPECT_TRUE(contactParts.empty());
  // Category 2 takes its text from column 7.
  Extract(2, ColsWith(8, {{2, "6"}, {3, "1"}, {4, "1"}, {5, "1"}, {7, "Carol"}}));
  ASSERT_EQ(contactParts.size(), 1u);
  EXPECT_EQ(ToUtf8(contactParts.begin()->second.text), "Carol");
}

TEST_F(ExtractTest, PhoneBookMergesByKey) {
  Extract(1, ContactData("6", "42", "A"));
  Extract(1, ContactData("5", "42", "B"));
  Extract(1, ContactData("6", "42", "A"));
  Extract(1, ContactData("5", "42", "12345"));
  Extract(1, ContactData("5", "42", "234"));  // inside an earlier number
  Extract(1, ContactData("6", "3", "Z"));     // lower key comes first
  BuildPhoneBook(contactParts, stores.phoneBook);
  ASSERT_EQ(stores.phoneBook.size(), 2u);
  EXPECT_EQ(ToUtf8(stores.phoneBook[0].name), "Z");
  EXPECT_EQ(ToUtf8(stores.phoneBook[0].number), "");
  EXPECT_EQ(ToUtf8(stores.phoneBook[1].name), "A");
  EXPECT_EQ(ToUtf8(stores.phoneBook[1].number), "B,12345");
  EXPECT_TRUE(contactParts.empty());
}

ColumnMap Sms3(const std::string& time, const std::string& c8, const std::string& c9,
               size_t n = 18) {
  return ColsWith(n, {{2, "10086"}, {4, time}, {8, c8}, {9, c9}, {11, "hel"}, {12, "lo"}});
}

TEST_F(ExtractTest, ShortMessageStatusAndTime) {
  Extract(3, Sms3("1000", "1", "0"));  // time at the bound: dropped
  Extract(3, Sms3("1001", "1", "2"));  // c8 = 1 wins over c9
  Extract(4, Sms3("5000", "0", "2"));  // status from c9
  Extract(3, Sms3("-5", "7", "9"));    // negative time passes; status 9 kept
  ASSERT_EQ(stores.sms.size(), 3u);
  EXPECT_EQ(stores.sms[0].time, 1001);
  EXPECT_EQ(stores.sms[0].status, 1);
  EXPECT_EQ(ToUtf8(stores.sms[0].content), "hello");
  EXPECT_EQ(ToUtf8(stores.sms[0].number), "10086");
  EXPECT_EQ(stores.sms[1].status, 2);
  EXPECT_EQ(stores.sms[2].time, -5);
  EXPECT_EQ(stores.sms[2].status, 9);
}

TEST_F(ExtractTest, ShortMessageNeedsColumn9OnlyWhenC8IsNoStatus) {
  Extract(3, ColsWith(13, {{2, "1"}, {4, "2000"}, {8, "1"}, {11, "x"}}));
  EXPECT_EQ(stores.sms.size(), 1u);
  ColumnMap noC9 = ColsWith(13, {{2, "1"}, {4, "2000"}, {8, "0"}, {11, "x"}});
  Extract(3, noC9);
  EXPECT_EQ(stores.sms.size(), 2u);  // c9 exists (empty) -> status 0
  ColumnMap shortMap = Cols({"", "", "1", "", "2000", "", "", "", "0"});
  Extract(3, shortMap);  // no c11, c12: dropped
  EXPECT_EQ(stores.sms.size(), 2u);
}

TEST_F(ExtractTest, ShortMessageNeedsNumberOrContent) {
  Extract(16, ColsWith(15, {{5, "2000"}, {10, "1"}, {13, "only text"}}));
  Extract(16, ColsWith(15, {{2, "10010"}, {5, "2000"}, {10, "2"}}));
  Extract(16, ColsWith(15, {{5, "2000"}, {10, "2"}}));  // neither: dropped
  ASSERT_EQ(stores.sms.size(), 2u);
  EXPECT_EQ(ToUtf8(stores.sms[0].content), "only text");
  EXPECT_EQ(ToUtf8(stores.sms[1].number), "10010");
  EXPECT_EQ(stores.sms[1].status, 2);
}

TEST_F(ExtractTest, PlatformDecidesWhichCategoriesCount) {
  Extract(3, Sms3("2000", "1", "1"), kPlatformIos);
  Extract(14, Cols({"1", "555", "1300000000", "hi", "0", "0"}), kPlatformAndroid);
  EXPECT_TRUE(stores.sms.empty());
  Extract(14, Cols({"1", "555", "1300000000", "hi", "0", "0"}), kPlatformIos);
  Extract(14, Cols({"1", "556", "1300000000", "hey", "0", "0"}), kPlatformItunes);
  ASSERT_EQ(stores.sms.size(), 2u);
  EXPECT_EQ(stores.sms[0].status, 0);
  EXPECT_EQ(stores.sms[0].time, 1300000000);
  Extract(0, Sms3("2000", "1", "1"));
  EXPECT_EQ(stores.sms.size(), 2u);
}

TEST_F(ExtractTest, CallRecordColumnsByCategory) {
  struct Case {
    RecordCategory category;
    size_t nameColumn;
    size_t locationColumn;  // 0: none
  } cases[] = {{5, 6, 12}, {6, 7, 0}, {7, 6, 10}, {8, 6, 0}};
  for (const Case& c : cases) {
    RecordBatch t;
    ColumnMap m = ColsWith(20, {{1, "10086"}, {2, "1300000000000"}, {3, "4"}, {4, "3"}});
    m.columns[c.nameColumn] = u"Name";
    if (c.locationColumn != 0) m.columns[c.locationColumn] = u"Beijing";
    ExtractRecordInto(t, kPlatformAndroid, c.category, m, Varint{1, 1});
    ASSERT_EQ(t.callRecords.size(), 1u) << int(c.category);
    const CallRecord& r = t.callRecords[0];
    EXPECT_EQ(ToUtf8(r.number), "10086");
    EXPECT_EQ(ToUtf8(r.name), "Name");
    EXPECT_EQ(ToUtf8(r.location), c.locationColumn ? "Beijing" : "");
    EXPECT_EQ(r.time, 1300000000000);
    EXPECT_EQ(r.count, 4u);
    EXPECT_EQ(r.callType, 3);
  }
}

TEST_F(ExtractTest, ContactEventColumnsByCategory) {
  struct Case {
    RecordCategory category;
    size_t columns;
    size_t name, location, content;
  } cases[] = {{9, 35, 7, 14, 26}, {10, 19, 7, 0, 17}, {11, 20, 8, 12, 19}};
  for (const Case& c : cases) {
    RecordBatch t;
    ColumnMap m = ColsWith(c.columns, {{1, "10086"}, {3, "1300000000000"}, {4, "2"}, {5, "1"}});
    if (c.category == 9) m.columns[18] = m.columns[21] = u"set";
    m.columns[c.name] = u"Name";
    if (c.location) m.columns[c.location] = u"Here";
    m.columns[c.content] = u"Text";
    ExtractRecordInto(t, kPlatformAndroid, c.category, m, Varint{1, 1});
    ASSERT_EQ(t.contactEvents.size(), 1u) << int(c.category);
    const ContactEvent& r = t.contactEvents[0];
    EXPECT_EQ(ToUtf8(r.name), "Name");
    EXPECT_EQ(ToUtf8(r.location), c.location ? "Here" : "");
    EXPECT_EQ(ToUtf8(r.content), "Text");
    EXPECT_EQ(r.direction, 1);
    EXPECT_EQ(r.count, 2u);
  }
}

TEST_F(ExtractTest, ContactEventEdgeRules) {
  // Category 11 with 19 columns lacks its content column 19.
  Extract(11, ColsWith(19, {{1, "1"}, {3, "2000"}, {8, "n"}}));
  EXPECT_TRUE(stores.contactEvents.empty());
  Extract(11, ColsWith(20, {{1, "1"}, {3, "2000"}, {8, "n"}}));
  EXPECT_EQ(stores.contactEvents.size(), 1u);
  // Category 9 needs columns 18 and 21 set.
  Extract(9, ColsWith(35, {{1, "1"}, {3, "2000"}, {18, "x"}}));
  EXPECT_EQ(stores.contactEvents.size(), 1u);
}

TEST_F(ExtractTest, NumberConversionsOfTheRuntime) {
  // A column of eight FF bytes reads 18446744073709551615: the time
  // saturates, the count overflows to the 32-bit maximum, the status keeps
  // the low 8 bits.
  ColumnMap m = ColsWith(
      20,
      {{1, "1"}, {2, "18446744073709551615"}, {3, "18446744073709551615"}, {4, "257"}, {6, "n"}});
  Extract(8, m);
  ASSERT_EQ(stores.calls.size(), 1u);
  EXPECT_EQ(stores.calls[0].time, INT64_MAX);
  EXPECT_EQ(stores.calls[0].count, UINT32_MAX);
  EXPECT_EQ(stores.calls[0].callType, 1);
}

TEST_F(ExtractTest, IosContactParts) {
  ColumnMap person = ColsWith(20, {{1, "San"}, {2, "Zhang"}, {18, "x"}});
  Extract(12, person, kPlatformIos, 77);
  ColumnMap personNo18 = ColsWith(20, {{1, "Si"}, {2, "Li"}});
  Extract(12, personNo18, kPlatformIos, 78);
  Extract(13, Cols({"1", "77", "0", "0", "0", "13900000000"}), kPlatformIos);
  Extract(13, Cols({"1", "77", "0", "0", "0", "13911111111", "x"}), kPlatformIos);  // 7 columns
  BuildPhoneBook(contactParts, stores.phoneBook);
  ASSERT_EQ(stores.phoneBook.size(), 1u);
  EXPECT_EQ(ToUtf8(stores.phoneBook[0].name), "ZhangSan");
  EXPECT_EQ(ToUtf8(stores.phoneBook[0].number), "13900000000");
}

TEST_F(ExtractTest, WeChat) {
  Extract(15, ColsWith(14, {{1, "wxid_a"}, {3, "1400000000000"}, {11, "<b>hi</b>"}}));
  Extract(15, ColsWith(14, {{3, "1400000000000"}}));                 // no contact, no content
  Extract(15, ColsWith(11, {{1, "wxid_b"}, {3, "1400000000000"}}));  // no column 11
  ASSERT_EQ(stores.weChat.size(), 1u);
  EXPECT_EQ(ToUtf8(stores.weChat[0].contact), "wxid_a");
  EXPECT_EQ(ToUtf8(stores.weChat[0].content), "<b>hi</b>");
}

}  // namespace
}  // namespace velkor
