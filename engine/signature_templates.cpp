#include "engine/signature_templates.h"

#include <string_view>

namespace velkor {
namespace {

struct TemplateText {
  std::string_view codes;  // one digit per column position, position 0 first
  ColumnGate gate;
};

// The current layouts' templates cover only the stable front of their
// tables (vendors append columns), so each also bounds the column count; the
// value checks of short patterns are in the extraction.
constexpr TemplateText kTemplates[kTemplateCount] = {
    {"11111111222222222222", {}},                 // 1  android contact data, text in c8
    {"11111112222222222222", {}},                 // 2  android contact data, text in c7
    {"112111111112221111", {}},                   // 3  short messages
    {"1121111111222111", {}},                     // 4  short messages
    {"1211112122212222122", {}},                  // 5  call log with location
    {"12111112121", {}},                          // 6  call log
    {"12111121212122212222", {}},                 // 7  call log with location
    {"121111212", {}},                            // 8  call log
    {"12211112212212222212211112222222222", {}},  // 9  merged log, location and content
    {"1221111221221111222", {}},                  // 10 merged log
    {"122111112211221111", {}},                   // 11 merged log with location
    {"12222222221222222211", {}},                 // 12 iOS address book person
    {"111112", {}},                               // 13 iOS address book multi-value
    {"12121121111", {}},                          // 14 iOS message
    {"12111111112222", {}},                       // 15 chat message
    {"112111111111222", {}},                      // 16 short messages, later layout
    // 17 android sms since 5: 19 columns (AOSP), up to 49 (vendors)
    {"112111111112221", {19, 64}},
    // 18 android calls of calllog.db since 7: 40 to 48 columns
    {"12122111", {30, 64}},
    // 19 android calls of contacts2.db on 5 and 6: presentation at c2
    {"121111", {20, 40}},
    // 20 android contact data with hash_id at c4; older rows lack late columns
    {"111121111", {26, 48}},
    // 21 iOS 6+ message: 38 to 68 columns so far
    {"1221212221122211111111", {30, 80}},
    // 22 iOS handle: 5 columns, 6 since iOS 14
    {"12", {5, 7}},
    // 23 iOS address book multi-value with guid: exactly 7 columns
    {"1111122", {7, 7}},
    // 24 iOS call_history.db call
    {"1211112", {8, 14}},
    // 25 iOS 8+ ZCALLRECORD of CallHistory.storedata
    {"111111121111111112222", {24, 34}},
};

}  // namespace

const SignatureTemplateTable& SignatureTemplates() {
  static const SignatureTemplateTable table = [] {
    SignatureTemplateTable t{};
    for (size_t c = 0; c < kTemplateCount; ++c) {
      const std::string_view codes = kTemplates[c].codes;
      for (size_t i = 0; i < codes.size() && i < t[c].size(); ++i) {
        t[c][i] = static_cast<uint8_t>(codes[i] - '0');
      }
    }
    return t;
  }();
  return table;
}

const ColumnGateTable& ColumnGates() {
  static const ColumnGateTable gates = [] {
    ColumnGateTable g{};
    for (size_t c = 0; c < kTemplateCount; ++c) g[c] = kTemplates[c].gate;
    return g;
  }();
  return gates;
}

}  // namespace velkor
