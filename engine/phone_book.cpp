#include "engine/record_scan_parts.h"

namespace velkor {
namespace {

// Adds part to a ","-joined list unless the list already contains it as a
// substring: the same name from two copies of a page is listed once, and a
// number inside an earlier number of the contact is not repeated.
void JoinUnlessContained(std::u16string& list, const std::u16string& part) {
  if (list.find(part) != std::u16string::npos) return;
  if (!list.empty()) list += u',';
  list += part;
}

}  // namespace

void BuildPhoneBook(ContactPartMap& parts, std::vector<PhoneBookEntry>& phoneBook) {
  for (auto group = parts.begin(); group != parts.end();) {
    const int64_t key = group->first;
    std::u16string names;
    std::u16string numbers;
    auto it = group;
    for (; it != parts.end() && it->first == key; ++it) {
      if (it->second.mark == 0) {
        JoinUnlessContained(names, it->second.text);
      } else if (it->second.mark == 1) {
        JoinUnlessContained(numbers, it->second.text);
      }
    }
    if (!names.empty() || !numbers.empty()) {
      phoneBook.push_back(PhoneBookEntry{std::move(names), std::move(numbers)});
    }
    group = it;
  }
  parts.clear();
}

}  // namespace velkor
