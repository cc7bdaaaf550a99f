// The eleven result tabs, described once. The record rows, the desktop's
// lists, category tree, detail pane, task dialog and Save, and the command
// line's exports all read this table; none keeps a list of tabs of its own.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace velkor {

// Result tabs by index; tabs 4, 5, 6, 8 and 9 are never filled.
enum ResultTab : int {
  kTabSms = 0,
  kTabPhoneBook = 1,
  kTabCalls = 2,
  kTabAllContacts = 3,
  kTabCalendar = 4,
  kTabNotes = 5,
  kTabMail = 6,
  kTabWeChat = 7,
  kTabMsn = 8,
  kTabQq = 9,
  kTabFoundFiles = 10,
};
inline constexpr int kResultTabCount = 11;

// One line of the detail pane: its label and the list column it shows.
struct DetailField {
  std::u16string_view label;
  int column;
};

struct ResultTabInfo {
  ResultTab tab;
  // Title of the tab under the lists.
  std::u16string_view caption;
  // Column titles, "索引" (the 1-based row number) first.
  std::span<const std::u16string_view> columns;
  // The category item of the tree: its text, the type flag in its third
  // column (double-clicking the item brings this tab to the front) and its
  // picture.
  std::u16string_view treeText;
  std::string_view typeFlag;
  int treeImage;
  // Filled by the record scan: the tree shows the row count, the command
  // line writes the list as exportName and prints treeText with its count.
  bool filledByRecordScan;
  // File name the Save command suggests (after "<time stamp>-") and the
  // command line writes; empty for the found-files tab, saved as files.
  std::u16string_view exportName;
  // The record-type check box of the task dialog: its bit of the record-type
  // mask (0 for a tab without a box), text and object-name stem.
  uint32_t recordTypeBit;
  std::u16string_view typeBoxText;
  std::string_view typeBoxName;
  // Column widths: width / creationDivisor when the list is made, the last
  // column taking what the others leave when lastTakesRest; resizeDivisor is
  // used again on every resize (0 keeps the first widths).
  int creationDivisor;
  bool lastTakesRest;
  int resizeDivisor;
  // Empty for tabs without a detail layout.
  std::span<const DetailField> detail;
};

const std::array<ResultTabInfo, kResultTabCount>& ResultTabs();
// The entry of tab; tab must be in [0, kResultTabCount).
const ResultTabInfo& ResultTabOf(int tab);

}  // namespace velkor
