// The cells of the record lists.
#include "engine/record_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/record_scan.h"
#include "engine/text_codec.h"
#include "engine/text_format.h"

namespace velkor {
namespace {

std::vector<std::string> Utf8(const RowTexts& row) {
  std::vector<std::string> out;
  for (const auto& cell : row) out.push_back(ToUtf8(cell));
  return out;
}

using Row = std::vector<std::string>;

TEST(RecordRows, ShortMessageStatusTexts) {
  struct Case {
    uint8_t status;
    std::string text;
  } cases[] = {{1, "接受"}, {2, "发送"}, {0, ""}, {3, ""}, {255, ""}};
  for (const Case& c : cases) {
    SmsRecord r{u"10086", u"hi", c.status, 1234567890000};
    EXPECT_EQ(Utf8(SmsRow(4, r, kPlatformAndroid)),
              (Row{"5", "10086", c.text, "2009-2-13 23:31:30", "hi"}));
  }
}

TEST(RecordRows, CallAndContactTexts) {
  struct Case {
    uint8_t type;
    std::string call, contact;
  } cases[] = {{1, "来电", "接受"}, {2, "已拨", "发出"}, {3, "未接", ""}, {4, "", ""}};
  for (const Case& c : cases) {
    CallRecord call{u"10086", u"Zhang", u"Beijing", 1234567890000, c.type, 4294967295u};
    EXPECT_EQ(Utf8(CallRow(0, call)),
              (Row{"1", "Zhang", "10086", "Beijing", "2009-2-13 23:31:30", c.call, "4294967295"}));
    ContactEvent event{u"10086", u"Zhang", u"", u"text", 1234567890000, c.type, 7};
    EXPECT_EQ(Utf8(ContactEventRow(9, event)),
              (Row{"10", "Zhang", "10086", "", "2009-2-13 23:31:30", c.contact, "7", "text"}));
  }
}

TEST(RecordRows, RowsOfATask) {
  RecordStores task;
  task.platform = kPlatformIos;
  task.sms.push_back({u"1", u"a", 0, 1234567890});
  task.phoneBook.push_back({u"A,B", u"1,2"});
  task.weChat.push_back({u"wx", u"<i>x</i>", 1234567890000});
  EXPECT_EQ(RecordRowCount(task, kTabSms), 1u);
  EXPECT_EQ(Utf8(RecordRow(task, kTabSms, 0)), (Row{"1", "1", "", "2009-2-13 23:31:30", "a"}));
  EXPECT_EQ(Utf8(RecordRow(task, kTabPhoneBook, 0)), (Row{"1", "A,B", "1,2"}));
  EXPECT_EQ(Utf8(RecordRow(task, kTabWeChat, 0)),
            (Row{"1", "wx", "2009-2-13 23:31:30", "<i>x</i>"}));
  // Tabs that are never filled, and rows past the end.
  for (int tab : {kTabCalendar, kTabNotes, kTabMail, kTabMsn, kTabQq, kTabFoundFiles}) {
    EXPECT_EQ(RecordRowCount(task, tab), 0u);
  }
  EXPECT_TRUE(RecordRow(task, kTabSms, 1).empty());
  // Every filled tab's rows have as many cells as its list has columns.
  for (int tab : {kTabSms, kTabPhoneBook, kTabWeChat}) {
    EXPECT_EQ(RecordRow(task, tab, 0).size(), ResultColumnHeaders(tab).size());
  }
}

}  // namespace
}  // namespace velkor
