// The compact stores' text arena: texts read back whatever their length and
// place, and after another arena took them. Rows appended from window
// batches are checked by every scan test.
#include "engine/record_store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velkor {
namespace {

constexpr size_t kBlock = TextArena::kBlockUnits;

std::vector<std::u16string> Texts(const std::vector<size_t>& lengths, char16_t first) {
  std::vector<std::u16string> texts;
  for (size_t i = 0; i < lengths.size(); ++i) {
    texts.emplace_back(lengths[i], static_cast<char16_t>(first + i));
  }
  return texts;
}

// Lengths that fill a block to one unit short, cross into the next block
// and need a block of their own.
TEST(TextArena, TextsReadBackAcrossBlocksAndAfterClearing) {
  const std::vector<size_t> lengths = {0, 1, 7, kBlock - 9, 2, 9, kBlock + 5, 3};
  TextArena arena;
  for (int round = 0; round < 2; ++round) {
    const std::vector<std::u16string> texts = Texts(lengths, static_cast<char16_t>(u'a' + round));
    std::vector<TextSpan> spans;
    for (const std::u16string& text : texts) spans.push_back(arena.Add(text));
    for (size_t i = 0; i < texts.size(); ++i) {
      EXPECT_EQ(arena.View(spans[i]), texts[i]) << "round " << round << " text " << i;
    }
    arena.Clear();
  }
}

// Taken arenas whose blocks change hands (half full and more), are copied
// (less), or both, into an arena whose last block has room for a copy or
// not; every text of both reads back, and the taken arena is empty and
// usable again.
TEST(TextArena, TakenTextsReadBackWhereverTheirBlocksWent) {
  struct Case {
    std::vector<size_t> kept, taken;
  };
  const std::vector<Case> cases = {
      {{}, {5, 0, 3}},
      {{kBlock - 4}, {5, 3}},
      {{kBlock / 2}, {7, 5}},
      {{9}, {kBlock - 2, kBlock / 2, 4, kBlock + 1, 6}},
  };
  for (size_t c = 0; c < cases.size(); ++c) {
    TextArena arena, other;
    const std::vector<std::u16string> kept = Texts(cases[c].kept, u'a');
    const std::vector<std::u16string> taken = Texts(cases[c].taken, u'A');
    std::vector<TextSpan> keptSpans, takenSpans;
    for (const std::u16string& text : kept) keptSpans.push_back(arena.Add(text));
    for (const std::u16string& text : taken) takenSpans.push_back(other.Add(text));
    const TextArena::Moved moved = arena.Take(other);
    for (size_t i = 0; i < kept.size(); ++i) {
      EXPECT_EQ(arena.View(keptSpans[i]), kept[i]) << "case " << c << " kept " << i;
    }
    for (size_t i = 0; i < taken.size(); ++i) {
      EXPECT_EQ(arena.View(moved(takenSpans[i])), taken[i]) << "case " << c << " taken " << i;
    }
    EXPECT_EQ(other.View(other.Add(u"again")), u"again") << "case " << c;
  }
}

}  // namespace
}  // namespace velkor
