#include "model/UnitCollisionDialog.h"
#include "platform/UnitText.h"

#include <gtest/gtest.h>

#include <iterator>
#include <random>

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

  // A large table is let go of gradually; none of its names counts any more.
  constexpr int kMany = 100000;
  for (int i = 0; i < kMany; ++i) registry.Add(u"", u"n" + IntToStr(i), i);
  registry.Clear(kMany);
  for (int i = 0; i < kMany; i += 7) {
    EXPECT_EQ(registry.Add(u"", u"n" + IntToStr(i), -i), -1) << i;
    EXPECT_EQ(registry.Add(u"", u"n" + IntToStr(i), 1), -i) << i;
  }
  EXPECT_FALSE(registry.Exists(u"n1"));
}

TEST(TFrmCollisionDialogTest, CommonFolderChangesNoAnswer) {
  // Names in and out of the folder, in other case, with trailing dots, the
  // folder itself and names that only begin like it, against a registry
  // that keeps every name whole.
  const std::u16string parts[] = {u"/Base/", u"/base/", u"/BASE", u"/bas", u"", u"x",
                                  u"X.",     u".",      u"/",     u"sub/", u"/other/"};
  std::mt19937 random(7);
  std::uniform_int_distribution<size_t> pick(0, std::size(parts) - 1);
  TFrmCollisionDialog whole;
  TFrmCollisionDialog folded;
  folded.Clear(16, u"/base/");
  for (int i = 0; i < 4000; ++i) {
    const std::u16string path = parts[pick(random)] + parts[pick(random)] + parts[pick(random)];
    if (i % 3 == 0) {
      int wholeIndex = -1;
      int foldedIndex = -1;
      ASSERT_EQ(whole.Exists(path, wholeIndex), folded.Exists(path, foldedIndex)) << i;
      ASSERT_EQ(wholeIndex, foldedIndex) << i;
    } else {
      ASSERT_EQ(whole.Add(u"", path, i), folded.Add(u"", path, i)) << i;
    }
  }
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
