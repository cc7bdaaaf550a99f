#include <algorithm>
#include <cstdint>

#include "engine/record_scan_parts.h"

namespace velkor {
namespace {

// A ","-joined list of a contact's names or numbers, with the full Unicode
// texts of the same parts joined alongside.
struct JoinedParts {
  std::u16string list;
  std::u16string full;

  // Adds part unless the list already contains it as a substring: the same
  // name from two copies of a page is listed once, and a number inside an
  // earlier number of the contact is not repeated. The full list takes
  // exactly the parts the list takes.
  void Add(const ContactPart& part) {
    if (list.find(part.text) != std::u16string::npos) return;
    if (!list.empty()) {
      list += u',';
      full += u',';
    }
    list += part.text;
    full += part.full.empty() ? part.text : part.full;
  }
};

}  // namespace

// An entry's offsets are those of every name and number cell of its key,
// taken into its texts or not: each is evidence of the contact.
void BuildPhoneBook(ContactPartMap& parts, std::vector<PhoneBookEntry>& phoneBook, uint32_t file) {
  for (auto group = parts.begin(); group != parts.end();) {
    const int64_t key = group->first;
    JoinedParts names;
    JoinedParts numbers;
    std::vector<uint64_t> offsets;
    // The entry is found the way its first cell was; a whole cell wins a tie.
    FoundBy firstFound = FoundBy::kCell;
    uint64_t firstOffset = UINT64_MAX;
    auto it = group;
    for (; it != parts.end() && it->first == key; ++it) {
      if (it->second.mark == 0) {
        names.Add(it->second);
      } else if (it->second.mark == 1) {
        numbers.Add(it->second);
      }
      if (it->second.mark > 1) continue;
      offsets.push_back(it->second.offset);
      const ContactPart& part = it->second;
      if (part.offset < firstOffset ||
          (part.offset == firstOffset && part.found == FoundBy::kCell)) {
        firstOffset = part.offset;
        firstFound = part.found;
      }
    }
    if (!names.list.empty() || !numbers.list.empty()) {
      PhoneBookEntry entry{std::move(names.list), std::move(numbers.list)};
      entry.full.Set(1, entry.name, std::move(names.full));
      entry.full.Set(2, entry.number, std::move(numbers.full));
      std::sort(offsets.begin(), offsets.end());
      offsets.erase(std::unique(offsets.begin(), offsets.end()), offsets.end());
      entry.origin = RecordOrigin{offsets.front(), file, firstFound};
      entry.offsets = std::move(offsets);
      phoneBook.push_back(std::move(entry));
    }
    group = it;
  }
  parts.clear();
}

}  // namespace velkor
