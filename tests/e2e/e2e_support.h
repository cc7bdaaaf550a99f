// The expectations of the end-to-end tests, derived from the fixtures alone:
// where each inserted row's cell lies, the phone book the found parts merge
// into, and the list texts and export bytes those records give.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/record_rows.h"
#include "tests/fixtures/fixture_sets.h"
#include "tests/fixtures/image_builder.h"

namespace velkor::e2e {

using namespace velkor::fixtures;

// Every whole copy of every extracted row, in the order a scan meets them.
struct Occurrence {
  uint64_t offset;
  const FixtureRow* row;
};
std::vector<Occurrence> OccurrencesInScanOrder(const ImageBuilder& image,
                                               const std::vector<FixtureDatabase>& databases,
                                               uint8_t platform);

// The stores in scan order, built from the occurrences alone.
struct ExpectedStores {
  std::vector<SmsRecord> sms;
  std::vector<PhoneBookEntry> phoneBook;
  std::vector<CallRecord> calls;
  std::vector<ContactEvent> events;
  std::vector<WeChatRecord> weChat;
};
ExpectedStores StoresFrom(const std::vector<Occurrence>& occurrences);

// The list rows (index from 0) and the text export bytes of a tab.
std::vector<RowTexts> ExpectedRows(const ExpectedStores& stores, int tab, bool smsSeconds);
std::string ExpectedExportBytes(const std::vector<RowTexts>& rows);

}  // namespace velkor::e2e
