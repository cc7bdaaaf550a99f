#include "engine/result_tabs.h"

#include "engine/record_scan.h"

namespace velkor {
namespace {

using Columns = std::u16string_view;
constexpr Columns kSmsColumns[] = {u"索引", u"电话号码", u"状态", u"时间", u"内容"};
constexpr Columns kPhoneBookColumns[] = {u"索引", u"姓名", u"电话号码"};
constexpr Columns kCallColumns[] = {u"索引", u"姓名", u"电话号码", u"所属地",
                                    u"时间", u"状态", u"联系次数"};
constexpr Columns kContactColumns[] = {u"索引", u"姓名", u"电话号码", u"所属地",
                                       u"时间", u"状态", u"联系次数", u"内容"};
constexpr Columns kCalendarColumns[] = {u"索引",     u"姓名", u"电话号码", u"号码归属地",
                                        u"网络类型", u"时间", u"内容"};
constexpr Columns kNameColumns[] = {u"索引", u"姓名"};
constexpr Columns kWeChatColumns[] = {u"索引", u"联系人", u"时间", u"内容"};
constexpr Columns kFoundFileColumns[] = {u"索引", u"ID", u"大小"};

constexpr DetailField kSmsDetail[] = {
    {u"短信息号码:", 1}, {u"短信息时间:", 3}, {u"短信息内容:", 4}};
constexpr DetailField kPhoneBookDetail[] = {{u"姓名:", 1}, {u"电话号码:", 2}};
constexpr DetailField kCallDetail[] = {
    {u"姓名:", 1}, {u"电话号码:", 2}, {u"联系时间:", 4}, {u"联系次数:", 6}};
constexpr DetailField kContactDetail[] = {
    {u"姓名:", 1}, {u"电话号码:", 2}, {u"联系时间:", 4}, {u"联系次数:", 6}, {u"联系内容:", 7}};

// clang-format off
constexpr std::array<ResultTabInfo, kResultTabCount> kTabs{{
    {kTabSms, u"短信箱", kSmsColumns, u"短信箱", "0x01", 0, true, u"信息.txt",
     kTypeSms, u"短信箱", "Sms", 5, false, 5, kSmsDetail},
    {kTabPhoneBook, u"电话薄", kPhoneBookColumns, u"电话薄", "0x02", 1, true, u"电话薄.txt",
     kTypePhoneBook, u"电话薄", "PhoneBook", 3, false, 3, kPhoneBookDetail},
    {kTabCalls, u"通话记录", kCallColumns, u"通话记录", "0x04", 2, true, u"通话记录.txt",
     kTypeCalls, u"通话记录", "Calls", 7, false, 7, kCallDetail},
    {kTabAllContacts, u"所有联系", kContactColumns, u"所有联系", "0x08", 2, true, u"其他记录.txt",
     0, u"", "", 8, false, 8, kContactDetail},
    {kTabCalendar, u"日历信息", kCalendarColumns, u"日历", "0x10", 3, false, u"日历.txt",
     kTypeCalendar, u"日历", "Calendar", 9, true, 0, {}},
    {kTabNotes, u"记事本信息", kNameColumns, u"记事本", "0x20", 4, false, u"记事本.txt",
     kTypeNotes, u"记事本", "Notes", 2, false, 0, {}},
    {kTabMail, u"邮件来往记录", kNameColumns, u"邮件", "0x40", 5, false, u"email.txt",
     kTypeMail, u"邮件", "Mail", 2, false, 0, {}},
    {kTabWeChat, u"微信通讯记录", kWeChatColumns, u"微信", "0x80", 6, true, u"微信.txt",
     kTypeWeChat, u"微信", "WeChat", 2, false, 0, {}},
    {kTabMsn, u"MSN通讯记录", kNameColumns, u"MSN通讯记录", "0x100", 7, false, u"MSN.txt",
     kTypeMsn, u"MSN", "Msn", 2, false, 0, {}},
    {kTabQq, u"QQ聊天记录", kNameColumns, u"QQ聊天记录", "0x200", 8, false, u"QQ.txt",
     kTypeQq, u"QQ", "Qq", 2, false, 0, {}},
    // Created at a ninth of the width, then shared in thirds on resizing.
    {kTabFoundFiles, u"文件系统", kFoundFileColumns, u"文件系统", "0xFFFFFFFF", 9, false, u"",
     0, u"", "", 9, false, 3, {}},
}};
// clang-format on

}  // namespace

const std::array<ResultTabInfo, kResultTabCount>& ResultTabs() {
  return kTabs;
}

const ResultTabInfo& ResultTabOf(int tab) {
  return kTabs[static_cast<size_t>(tab)];
}

}  // namespace velkor
