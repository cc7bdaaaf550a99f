// Real SQLite pages for the benchmarks: a database of message, call and chat
// rows that the record scan takes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace velkor::bench {

// The bytes of a database at least `size` bytes long.
std::vector<uint8_t> DenseDatabaseBytes(size_t size);

}  // namespace velkor::bench
