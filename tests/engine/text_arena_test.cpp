// The compact stores' text arena: texts of either width read back whatever
// their length and place, and after another arena took them. Rows appended
// from window batches are checked by every scan test.
#include "engine/text_arena.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/text_codec.h"
#include "engine/text_export.h"

namespace velkor {
namespace {

// Texts of one width: first below 0x100 gives one-byte units.
struct Kind {
  const char* name;
  char16_t first;
  size_t block;
};
constexpr Kind kKinds[] = {{"narrow", u'a', TextBlocks<uint8_t>::kBlockUnits},
                           {"wide", u'\u7532', TextBlocks<char16_t>::kBlockUnits}};

std::vector<std::u16string> Texts(const std::vector<size_t>& lengths, char16_t first) {
  std::vector<std::u16string> texts;
  for (size_t i = 0; i < lengths.size(); ++i) {
    texts.emplace_back(lengths[i], static_cast<char16_t>(first + i));
  }
  return texts;
}

// Lengths that fill a block to one unit short, cross into the next block
// and need a block of their own, in both widths and with the widths mixed.
TEST(TextArena, TextsReadBackAcrossBlocksAndAfterClearing) {
  for (const Kind& kind : kKinds) {
    const size_t b = kind.block;
    const std::vector<size_t> lengths = {0, 1, 7, b - 9, 2, 9, b + 5, 3};
    TextArena arena;
    for (int round = 0; round < 2; ++round) {
      std::vector<std::u16string> texts = Texts(lengths, static_cast<char16_t>(kind.first + round));
      if (round == 1) texts[2].back() = u'\u0100';  // a wide text among narrow ones, or narrowed
      std::vector<TextSpan> spans;
      for (const std::u16string& text : texts) spans.push_back(arena.Add(text));
      // A copy holds texts of its own (stores are copied as plain data).
      const TextArena copy = arena;
      arena.Clear();
      arena.Add(std::u16string(b, u'x'));
      for (size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(ToU16String(copy.View(spans[i])), texts[i])
            << kind.name << " round " << round << " text " << i;
      }
      arena.Clear();
    }
  }
}

// Taken arenas whose blocks change hands (half full and more), are copied
// (less), or both, into an arena whose last block has room for a copy or
// not; every text of both reads back, and the taken arena is empty and
// usable again.
TEST(TextArena, TakenTextsReadBackWhereverTheirBlocksWent) {
  for (const Kind& kind : kKinds) {
    const size_t b = kind.block;
    struct Case {
      std::vector<size_t> kept, taken;
    };
    const std::vector<Case> cases = {
        {{}, {5, 0, 3}},
        {{b - 4}, {5, 3}},
        {{b / 2}, {7, 5}},
        {{9}, {b - 2, b / 2, 4, b + 1, 6}},
    };
    for (size_t c = 0; c < cases.size(); ++c) {
      TextArena arena, other;
      const std::vector<std::u16string> kept = Texts(cases[c].kept, kind.first);
      // The taken texts in the other width as well, so that both kinds of
      // block move at once.
      std::vector<std::u16string> taken = Texts(cases[c].taken, kind.first);
      for (const std::u16string& text : Texts(cases[c].taken, kKinds[1].first)) {
        taken.push_back(text);
      }
      std::vector<TextSpan> keptSpans, takenSpans;
      for (const std::u16string& text : kept) keptSpans.push_back(arena.Add(text));
      for (const std::u16string& text : taken) takenSpans.push_back(other.Add(text));
      const TextArena::Moved moved = arena.Take(other);
      for (size_t i = 0; i < kept.size(); ++i) {
        EXPECT_EQ(ToU16String(arena.View(keptSpans[i])), kept[i])
            << kind.name << " case " << c << " kept " << i;
      }
      for (size_t i = 0; i < taken.size(); ++i) {
        EXPECT_EQ(ToU16String(arena.View(moved(takenSpans[i]))), taken[i])
            << kind.name << " case " << c << " taken " << i;
      }
      EXPECT_EQ(ToU16String(other.View(other.Add(u"again"))), u"again") << kind.name << c;
    }
  }
}

// Every unit up to 0x1FF, alone and after a narrow one, reads back and is
// exported as the same UTF-16LE bytes whichever width it was kept at: a
// byte above 0x7F is never taken for a negative one.
TEST(TextArena, EveryUnitReadsBackAndExportsAsItself) {
  TextArena arena;
  for (char16_t unit = 1; unit < 0x200; ++unit) {
    for (const std::u16string& text : {std::u16string(1, unit), u"x" + std::u16string(1, unit)}) {
      const StoredText stored = arena.View(arena.Add(text));
      ASSERT_EQ(ToU16String(stored), text) << int{unit};
      std::string bytes;
      TextRowBytes(bytes).Text(0, stored);
      ASSERT_EQ(bytes, Utf16LeBytes(text + u"\r\n", false)) << int{unit};
    }
  }
}

}  // namespace
}  // namespace velkor
