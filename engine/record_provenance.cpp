#include "engine/record_provenance.h"

#include <string>
#include <unordered_map>

#include "engine/record_rows.h"

namespace velkor {

const RecordOrigin* RecordOriginOf(const RecordStores& stores, int tab, size_t index) {
  return VisitRecord(stores, tab, index, [](const auto& r) { return &r.origin; });
}

std::vector<uint64_t> RecordOffsets(const RecordStores& stores, int tab, size_t index) {
  const RecordOrigin* origin = RecordOriginOf(stores, tab, index);
  if (origin == nullptr) return {};
  if (tab == kTabPhoneBook && !stores.phoneBook[index].offsets.empty())
    return stores.phoneBook[index].offsets;
  return {origin->offset};
}

std::optional<std::filesystem::path> RecordSourceFile(const RecordStores& stores,
                                                      const RecordOrigin& origin) {
  if (origin.file == 0 || origin.file > stores.files.size()) return std::nullopt;
  return stores.files[origin.file - 1];
}

std::string_view FoundByName(FoundBy found) {
  switch (found) {
    case FoundBy::kCell:
      return "cell";
    case FoundBy::kFreeblock:
      return "freeblock";
  }
  return "cell";
}

// The key of a row is its texts but the index, each preceded by its length,
// so that no two different rows share a key whatever their texts hold.
std::vector<uint32_t> DuplicateOf(const RecordStores& stores, int tab) {
  const size_t count = RecordRowCount(stores, tab);
  std::vector<uint32_t> firstOf(count, 0);
  std::unordered_map<std::u16string, uint32_t> seen;
  seen.reserve(count);
  std::u16string key;
  for (size_t i = 0; i < count; ++i) {
    const RowTexts row = RecordRow(stores, tab, i);
    key.clear();
    for (size_t c = 1; c < row.size(); ++c) {
      key += static_cast<char16_t>(row[c].size() >> 16);
      key += static_cast<char16_t>(row[c].size() & 0xFFFF);
      key += row[c];
    }
    const auto [it, inserted] = seen.try_emplace(key, static_cast<uint32_t>(i + 1));
    if (!inserted) firstOf[i] = it->second;
  }
  return firstOf;
}

std::optional<uint32_t> RecordListSeconds(const RecordStores& stores, int tab, size_t index) {
  if (index >= RecordRowCount(stores, tab)) return std::nullopt;
  switch (tab) {
    case kTabSms:
      return RecordSeconds(stores.sms.At(index).time, SmsTimeInSeconds(stores.platform));
    case kTabCalls:
      return RecordSeconds(stores.calls.At(index).time, false);
    case kTabAllContacts:
      return RecordSeconds(stores.contactEvents.At(index).time, false);
    case kTabWeChat:
      return RecordSeconds(stores.weChat.At(index).time, false);
    default:
      return std::nullopt;
  }
}

}  // namespace velkor
