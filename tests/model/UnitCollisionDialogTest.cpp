#include "model/UnitCollisionDialog.h"
#include "platform/UnitText.h"

#include <gtest/gtest.h>

#include <random>
#include <unordered_map>

#include "model/UnitNameKeyTable.h"
#include "model/UnitReplacementSequence.h"

TEST(TFrmCollisionDialogTest, KeysFoldAsciiCaseAndOneTrailingDot) {
  TFrmCollisionDialog registry;
  EXPECT_EQ(registry.Add(u"", u"/A/Photo.JPG", 3), -1);
  EXPECT_EQ(registry.Add(u"", u"/a/photo.jpg", 5), 3);
  EXPECT_EQ(registry.Add(u"", u"/a/photo.jpg.", 6), 3);
  EXPECT_EQ(registry.Add(u"", u"/a/photo.jpg..", 7), -1);  // only one dot is dropped
  int index = -1;
  ASSERT_TRUE(registry.Exists(u"/A/PHOTO.jpg", index));
  EXPECT_EQ(index, 3);  // the first holder stays
  // Letters outside A-Z are not folded.
  EXPECT_EQ(registry.Add(u"", u"/a/\u00C9t\u00E9", 8), -1);
  EXPECT_EQ(registry.Add(u"", u"/a/\u00E9t\u00E9", 9), -1);
  EXPECT_TRUE(registry.Exists(u"/a/\u00C9T\u00E9"));
}

TEST(TFrmCollisionDialogTest, ClearForgetsEveryName) {
  TFrmCollisionDialog registry;
  EXPECT_EQ(registry.Add(u"", u"x", 1), -1);
  registry.Clear(1024);
  EXPECT_FALSE(registry.Exists(u"x"));
  EXPECT_EQ(registry.Add(u"", u"x", 2), -1);

  // A large table: none of its names counts after a Clear.
  constexpr int kMany = 100000;
  for (int i = 0; i < kMany; ++i) registry.Add(u"", u"n" + IntToStr(i), i);
  registry.Clear(kMany);
  for (int i = 0; i < kMany; i += 7) {
    EXPECT_EQ(registry.Add(u"", u"n" + IntToStr(i), -i), -1) << i;
    EXPECT_EQ(registry.Add(u"", u"n" + IntToStr(i), 1), -i) << i;
  }
  EXPECT_FALSE(registry.Exists(u"n1"));
}

TEST(TReplacementSequenceTest, NumbersDistinctTextsInOrder) {
  TReplacementSequence seq;
  EXPECT_EQ(seq.GetReplacementSequence(u""), u"");
  EXPECT_EQ(seq.GetReplacementSequence(u"2013"), u"1");
  EXPECT_EQ(seq.GetReplacementSequence(u"07"), u"2");
  EXPECT_EQ(seq.GetReplacementSequence(u"2013"), u"1");
  EXPECT_EQ(seq.GetReplacementSequence(u"7"), u"3");  // texts, not numbers
  seq.Clear();
  EXPECT_EQ(seq.GetReplacementSequence(u"07"), u"1");
}

// The compact table answers as a map of the same keys does, whether or not a
// key shares the first key's folder, through growth and a Clear.
TEST(TNameKeyTableTest, AgreesWithAMapOnRandomKeys) {
  std::mt19937 random(7);
  const std::u16string parts[] = {u"/f/", u"/f/sub/", u"/g/", u"", u"/f", u"a", u"b/", u"ab"};
  TNameKeyTable table;
  std::unordered_map<std::u16string, int> map;
  for (int i = 0; i < 20000; ++i) {
    if (i == 12000) {
      table.Clear(10);
      map.clear();
    }
    std::u16string key;
    for (int n = static_cast<int>(random() % 4); n >= 0; --n) key += parts[random() % 8];
    const auto [it, inserted] = map.try_emplace(key, i);
    ASSERT_EQ(table.Insert(key, i), inserted ? -1 : it->second) << Utf16ToUtf8(key);
    const std::u16string probe = parts[random() % 8] + parts[random() % 8];
    int index = -1;
    const auto found = map.find(probe);
    ASSERT_EQ(table.Find(probe, index), found != map.end()) << Utf16ToUtf8(probe);
    if (found != map.end()) {
      EXPECT_EQ(index, found->second);
    }
  }
  EXPECT_EQ(table.Size(), map.size());
}
