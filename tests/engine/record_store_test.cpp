// The compact stores' text arena: texts read back whatever their length and
// place. Rows appended from window batches are checked by every scan test.
#include "engine/record_store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velkor {
namespace {

// Lengths that fill a block to one unit short, cross into the next block
// and need a block of their own.
TEST(TextArena, TextsReadBackAcrossBlocksAndAfterClearing) {
  const std::vector<size_t> lengths = {0, 1, 7, (size_t{1} << 20) - 9, 2, 9, (size_t{1} << 20) + 5,
                                       3};
  TextArena arena;
  for (int round = 0; round < 2; ++round) {
    std::vector<std::u16string> texts;
    std::vector<TextSpan> spans;
    for (size_t i = 0; i < lengths.size(); ++i) {
      texts.emplace_back(lengths[i], static_cast<char16_t>(u'a' + i + round));
      spans.push_back(arena.Add(texts.back()));
    }
    for (size_t i = 0; i < texts.size(); ++i) {
      EXPECT_EQ(arena.View(spans[i]), texts[i]) << "round " << round << " text " << i;
    }
    arena.Clear();
  }
}

}  // namespace
}  // namespace velkor
