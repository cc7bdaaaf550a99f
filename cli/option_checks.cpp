#include "cli/option_checks.h"

namespace velkor::cli {

bool ParseMask(std::string_view text, uint32_t& mask) {
  if (text.empty()) return false;
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  uint64_t value = 0;
  for (char c : text) {
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (base == 16 && c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (base == 16 && c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      return false;
    }
    if (digit >= base) return false;
    value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
    if (value > 0xFFFFFFFFu) return false;
  }
  mask = static_cast<uint32_t>(value);
  return true;
}

CLI::Validator DigitsOnly() {
  return CLI::Validator(
      [](std::string& value) -> std::string {
        if (!value.empty() && value.find_first_not_of("0123456789") == std::string::npos) {
          return {};
        }
        return "'" + value + "' is not a whole number of decimal digits";
      },
      "DIGITS");
}

CLI::Validator CountUpTo(uint32_t max) {
  return CLI::Validator(
      [max](std::string& value) -> std::string {
        const std::string why = "'" + value + "' is not a number from 1 to " + std::to_string(max);
        if (value.empty() || value.size() > 10 || value[0] == '0' ||
            value.find_first_not_of("0123456789") != std::string::npos) {
          return why;
        }
        return std::stoull(value) <= max ? std::string() : why;
      },
      "1-" + std::to_string(max));
}

CLI::Validator ThreadCount(uint32_t max) {
  const CLI::Validator count = CountUpTo(max);
  return CLI::Validator(
      [count, max](std::string& value) -> std::string {
        std::string why = count(value);
        if (why.empty()) return why;
        if (!value.empty() && value.size() <= 10 && value[0] != '0' &&
            value.find_first_not_of("0123456789") == std::string::npos) {
          return "'" + value + "' threads is more than 4 per core (at most " + std::to_string(max) +
                 " here)";
        }
        return why;
      },
      "1-" + std::to_string(max));
}

CLI::Validator RecordTypeMask() {
  return CLI::Validator(
      [](std::string& value) -> std::string {
        uint32_t mask = 0;
        if (ParseMask(value, mask)) return {};
        return "'" + value + "' is not a decimal or 0x hexadecimal mask of 32 bits";
      },
      "MASK");
}

CLI::Validator NotEmpty() {
  return CLI::Validator(
      [](std::string& value) -> std::string {
        return value.empty() ? "an empty value names nothing" : std::string();
      },
      "");
}

}  // namespace velkor::cli
