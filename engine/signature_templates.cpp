#include "engine/signature_templates.h"

#include <string_view>

namespace velkor {
namespace {

// One digit per column position, position 0 first (1 number, 2 text).
constexpr std::string_view kTemplateCodes[kTemplateCount] = {
    "11111111222222222222",                 // 1  android contact data, text in c8
    "11111112222222222222",                 // 2  android contact data, text in c7
    "112111111112221111",                   // 3  short messages
    "1121111111222111",                     // 4  short messages
    "1211112122212222122",                  // 5  call log with location
    "12111112121",                          // 6  call log
    "12111121212122212222",                 // 7  call log with location
    "121111212",                            // 8  call log
    "12211112212212222212211112222222222",  // 9  merged log, location and content
    "1221111221221111222",                  // 10 merged log
    "122111112211221111",                   // 11 merged log with location
    "12222222221222222211",                 // 12 iOS address book person
    "111112",                               // 13 iOS address book multi-value
    "12121121111",                          // 14 iOS message
    "12111111112222",                       // 15 chat message
    "112111111111222",                      // 16 short messages, later layout
};

SignatureTemplateTable BuildTemplates() {
  SignatureTemplateTable table{};
  for (size_t c = 0; c < kTemplateCount; ++c) {
    table[c].fill(0);
    const std::string_view codes = kTemplateCodes[c];
    for (size_t i = 0; i < codes.size() && i < table[c].size(); ++i) {
      table[c][i] = static_cast<uint8_t>(codes[i] - '0');
    }
  }
  return table;
}

}  // namespace

const SignatureTemplateTable& SignatureTemplates() {
  static const SignatureTemplateTable table = BuildTemplates();
  return table;
}

}  // namespace velkor
