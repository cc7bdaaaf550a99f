// The compact stores: texts read back from the arena whatever their length
// and place, and rows appended from a window's batch keep their texts, full
// texts and origin.
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

TEST(RecordStore, AppendedRowsKeepTheirTextsFullTextsAndOrigin) {
  SmsStore batch;
  SmsRecord plain{u"10086", u"balance", 1, 1300000000000};
  plain.origin.offset = 40;
  SmsRecord lossy{u"", u"emoji ?", 2, 1300000000001};
  lossy.full.Set(4, lossy.content, u"emoji 😀");
  lossy.origin = {77, 0, FoundBy::kFreeblock};
  batch.push_back(plain);
  batch.push_back(lossy);

  SmsStore store;
  store.push_back(plain);
  store.Append(batch, 3);
  ASSERT_EQ(store.size(), 3u);
  const std::vector<SmsRecord> rows(store.begin(), store.end());
  for (size_t i = 1; i < 3; ++i) {
    const SmsRecord& wanted = i == 1 ? plain : lossy;
    EXPECT_EQ(rows[i].number, wanted.number) << i;
    EXPECT_EQ(rows[i].content, wanted.content) << i;
    EXPECT_EQ(rows[i].status, wanted.status) << i;
    EXPECT_EQ(rows[i].time, wanted.time) << i;
    EXPECT_EQ(rows[i].origin.offset, wanted.origin.offset) << i;
    EXPECT_EQ(rows[i].origin.found, wanted.origin.found) << i;
    EXPECT_EQ(rows[i].origin.file, 3u) << i;
  }
  EXPECT_EQ(rows[0].origin.file, 0u);
  EXPECT_EQ(store.Full(1), nullptr);
  ASSERT_NE(store.Full(2), nullptr);
  EXPECT_EQ(*store.Full(2)->Find(4), u"emoji 😀");
}

}  // namespace
}  // namespace velkor
