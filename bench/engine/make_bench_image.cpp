// velkor-bench-image KIND MIB OUT: writes an image for the whole-image
// benchmarks. KIND is zeros, random, databases (real SQLite pages of message,
// call and chat rows, back to back) or mixed (a quarter of each, plus pictures).
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "bench/engine/dense_database.h"

namespace {

constexpr size_t kMiB = 1u << 20;

void FillRandom(std::vector<uint8_t>& chunk, std::mt19937_64& random) {
  for (size_t i = 0; i + 8 <= chunk.size(); i += 8) {
    const uint64_t v = random();
    std::memcpy(chunk.data() + i, &v, 8);
  }
}

// A PNG and a JPEG start every 64 KiB of the picture quarter, so the picture
// scan has hits to store and to measure.
void FillPictures(std::vector<uint8_t>& chunk) {
  static const uint8_t kPng[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  static const uint8_t kJpeg[] = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F'};
  for (size_t at = 0; at + 65536 <= chunk.size(); at += 65536) {
    std::memcpy(chunk.data() + at, kPng, sizeof kPng);
    std::memcpy(chunk.data() + at + 32768, kJpeg, sizeof kJpeg);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: velkor-bench-image zeros|random|databases|mixed MIB OUT\n");
    return 2;
  }
  const std::string kind = argv[1];
  const size_t mib = std::stoul(argv[2]);
  std::FILE* out = std::fopen(argv[3], "wb");
  if (out == nullptr) {
    std::perror(argv[3]);
    return 1;
  }
  std::mt19937_64 random(20261206);
  const std::vector<uint8_t> database = velkor::bench::DenseDatabaseBytes(8 * kMiB);
  std::vector<uint8_t> chunk(kMiB);
  for (size_t i = 0; i < mib; ++i) {
    std::string part = kind;
    if (kind == "mixed") {
      const char* const kQuarters[] = {"zeros", "random", "databases", "pictures"};
      part = kQuarters[(i * 4) / mib];
    }
    if (part == "zeros") {
      std::fill(chunk.begin(), chunk.end(), uint8_t{0});
    } else if (part == "random") {
      FillRandom(chunk, random);
    } else if (part == "databases") {
      const size_t from = (i * kMiB) % (database.size() - kMiB + 1);
      std::memcpy(chunk.data(), database.data() + from, kMiB);
    } else if (part == "pictures") {
      FillRandom(chunk, random);
      FillPictures(chunk);
    } else {
      std::fprintf(stderr, "unknown kind %s\n", kind.c_str());
      return 2;
    }
    if (std::fwrite(chunk.data(), 1, chunk.size(), out) != chunk.size()) {
      std::perror(argv[3]);
      return 1;
    }
  }
  return std::fclose(out) == 0 ? 0 : 1;
}
