// Checks of option values that the argument parser runs before any scan, so
// that a mistake is named with its option and reason instead of failing
// later or being read as something else.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include <CLI/CLI.hpp>

namespace velkor::cli {

// A decimal, or hexadecimal after "0x", that fits 32 bits.
bool ParseMask(std::string_view text, uint32_t& mask);

// Decimal digits only: no sign, no spaces, no other base.
CLI::Validator DigitsOnly();
// Digits only, no leading zero, from 1 to max.
CLI::Validator CountUpTo(uint32_t max);
// A thread count from 1 to max, max being four per core; a larger one is
// named with that limit.
CLI::Validator ThreadCount(uint32_t max);
// A record-type mask as ParseMask reads it.
CLI::Validator RecordTypeMask();
// Not the empty string.
CLI::Validator NotEmpty();

}  // namespace velkor::cli
