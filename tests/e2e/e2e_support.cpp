#include "tests/e2e/e2e_support.h"

#include <algorithm>
#include <map>

#include "engine/text_format.h"
#include "tests/support/test_support.h"

namespace velkor::e2e {
namespace {

std::u16string Ascii(const std::string& text) {
  return {text.begin(), text.end()};
}

std::u16string TimeText(int64_t time, bool seconds) {
  const uint64_t value = seconds ? static_cast<uint64_t>(time) : static_cast<uint64_t>(time) / 1000;
  return Ascii(test::CivilTimeText(static_cast<uint32_t>(value)));
}

std::u16string Choice(uint8_t value, std::initializer_list<const char16_t*> texts) {
  if (value == 0 || value > texts.size()) return u"";
  return texts.begin()[value - 1];
}

std::u16string Index(size_t i) {
  return Ascii(std::to_string(i + 1));
}

bool Extracted(uint8_t platform, RecordCategory category) {
  const bool ios = category >= 12 && category <= 14;
  return platform == kPlatformAndroid ? !ios && category >= 1 && category <= 16 : ios;
}

}  // namespace

std::vector<Occurrence> OccurrencesInScanOrder(const ImageBuilder& image,
                                               const std::vector<FixtureDatabase>& databases,
                                               uint8_t platform) {
  std::vector<Occurrence> all;
  for (const FixtureDatabase& db : databases) {
    for (const FixtureRow& row : db.rows) {
      if (std::holds_alternative<std::monostate>(row.expected)) continue;
      if (!Extracted(platform, row.category)) continue;
      for (uint64_t offset : image.Occurrences(row.cell)) {
        if (WithinOneWindow(offset, row.cell.size())) all.push_back({offset, &row});
      }
    }
  }
  std::sort(all.begin(), all.end(),
            [](const Occurrence& a, const Occurrence& b) { return a.offset < b.offset; });
  return all;
}

std::vector<PhoneBookEntry> ExpectedPhoneBook(const std::vector<Occurrence>& occurrences) {
  std::map<int64_t, std::vector<ContactPart>> parts;
  for (const Occurrence& o : occurrences) {
    if (const auto* p = std::get_if<ExpectedPart>(&o.row->expected)) {
      if (!p->part.text.empty()) parts[p->key].push_back(p->part);
    }
  }
  std::vector<PhoneBookEntry> book;
  for (const auto& [key, list] : parts) {
    PhoneBookEntry entry;
    for (const ContactPart& part : list) {
      // A text already contained in the joined texts is not repeated.
      std::u16string& joined = part.mark == 0 ? entry.name : entry.number;
      if (joined.find(part.text) != std::u16string::npos) continue;
      joined = joined.empty() ? part.text : joined + u"," + part.text;
    }
    if (!entry.name.empty() || !entry.number.empty()) book.push_back(entry);
  }
  return book;
}

ExpectedStores StoresFrom(const std::vector<Occurrence>& occurrences) {
  ExpectedStores stores;
  for (const Occurrence& o : occurrences) {
    const ExpectedRecord& e = o.row->expected;
    if (const auto* r = std::get_if<SmsRecord>(&e)) stores.sms.push_back(*r);
    if (const auto* r = std::get_if<CallRecord>(&e)) stores.calls.push_back(*r);
    if (const auto* r = std::get_if<ContactEvent>(&e)) stores.events.push_back(*r);
    if (const auto* r = std::get_if<WeChatRecord>(&e)) stores.weChat.push_back(*r);
  }
  stores.phoneBook = ExpectedPhoneBook(occurrences);
  return stores;
}

std::vector<RowTexts> ExpectedRows(const ExpectedStores& stores, int tab, bool smsSeconds) {
  std::vector<RowTexts> rows;
  switch (tab) {
    case kTabSms:
      for (size_t i = 0; i < stores.sms.size(); ++i) {
        const SmsRecord& r = stores.sms[i];
        rows.push_back({Index(i), r.number, Choice(r.status, {u"接受", u"发送"}),
                        TimeText(r.time, smsSeconds), r.content});
      }
      break;
    case kTabPhoneBook:
      for (size_t i = 0; i < stores.phoneBook.size(); ++i) {
        rows.push_back({Index(i), stores.phoneBook[i].name, stores.phoneBook[i].number});
      }
      break;
    case kTabCalls:
      for (size_t i = 0; i < stores.calls.size(); ++i) {
        const CallRecord& r = stores.calls[i];
        rows.push_back({Index(i), r.name, r.number, r.location, TimeText(r.time, false),
                        Choice(r.callType, {u"来电", u"已拨", u"未接"}),
                        Ascii(std::to_string(r.count))});
      }
      break;
    case kTabAllContacts:
      for (size_t i = 0; i < stores.events.size(); ++i) {
        const ContactEvent& r = stores.events[i];
        rows.push_back({Index(i), r.name, r.number, r.location, TimeText(r.time, false),
                        Choice(r.direction, {u"接受", u"发出"}), Ascii(std::to_string(r.count)),
                        r.content});
      }
      break;
    case kTabWeChat:
      for (size_t i = 0; i < stores.weChat.size(); ++i) {
        const WeChatRecord& r = stores.weChat[i];
        rows.push_back({Index(i), r.contact, TimeText(r.time, false), r.content});
      }
      break;
    default:
      break;
  }
  return rows;
}

std::string ExpectedExportBytes(const std::vector<RowTexts>& rows) {
  std::string bytes = "\xFF\xFE";
  const auto put = [&bytes](char16_t unit) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  };
  for (const RowTexts& row : rows) {
    for (const std::u16string& cell : row) {
      for (char16_t unit : cell) put(unit);
      put(u'\r');
      put(u'\n');
    }
    put(u'\r');
    put(u'\n');
  }
  return bytes;
}

}  // namespace velkor::e2e
