#include "filelist/UnitShowPreview.h"

#include <gtest/gtest.h>

#include "engine/UnitScriptActions.h"
#include "engine/UnitScriptStepAdd.h"
#include "engine/UnitScriptStepRemove.h"
#include "engine/UnitScriptStepReplace.h"
#include "filelist/UnitFileList.h"
#include "platform/UnitProgress.h"
#include "platform/UnitText.h"
#include "support/UnitScriptTestContext.h"

namespace {

using TReplace = TScriptStepReplaceNameExtension;

class TShowPreviewTest : public ::testing::Test {
 protected:
  TShowPreviewTest() : list(t.fs, t.clock) { t.fs.AddFolder(u"/f"); }

  void Files(std::initializer_list<const char16_t*> names) {
    for (const auto* name : names) t.fs.AddFile(std::u16string(u"/f/") + name, "x");
    TScanOptions scan;
    scan.folder = u"/f";
    TNoProgress progress;
    bool once = false;
    int files = 0, checked = 0, folders = 0;
    ASSERT_TRUE(list.RefreshFileList(scan, progress, once, files, false, checked, folders));
  }
  int Row(std::u16string_view caption) const {
    for (int i = 0; i < list.Count(); ++i) {
      if (list.GetFileData(i)->caption == caption) return i;
    }
    ADD_FAILURE() << "no row " << Utf16ToUtf8(caption);
    return 0;
  }
  // "Replace entire Name" with `with` for the entries named in `rows`
  // (by a condition on the name) is awkward; the tests instead give every
  // entry the same step and uncheck what should stay.
  void ReplaceName(std::u16string_view with) {
    TScriptStep& step = script.NewScriptControl(TScriptType::stReplaceNameExtension);
    step.SetChoice(TReplace::cbxReplacePart, 0);
    step.SetText(TReplace::txtReplaceWith, with);
  }
  void FindReplace(std::u16string_view find, std::u16string_view with) {
    TScriptStep& step = script.NewScriptControl(TScriptType::stReplaceNameExtension);
    step.SetText(TReplace::txtReplacePhrase, find);
    step.SetText(TReplace::txtReplaceWith, with);
  }
  TPreviewResult Preview() {
    TNoProgress progress;
    return ShowPreviewList(list, script, t.ctx, options, progress);
  }
  std::u16string NewName(std::u16string_view caption) const {
    return list.GetFileData(Row(caption))->GetNewName();
  }
  const TTagData& Tag(std::u16string_view caption) const { return *list.GetTagData(Row(caption)); }

  TScriptTestContext t;
  TFrmDummyShowPreview list;
  TFrmScriptActions script;
  TPreviewOptions options;
};

TEST_F(TShowPreviewTest, EmptyScriptChangesNothing) {
  Files({u"a.txt", u"x.", u"README"});
  const TPreviewResult r = Preview();
  EXPECT_TRUE(r.ran);
  EXPECT_EQ(r.ChangedCount, 0);
  EXPECT_EQ(NewName(u"a.txt"), u"a.txt");
  EXPECT_EQ(NewName(u"x."), u"x.");  // a name ending in "." is left alone
  EXPECT_EQ(NewName(u"README"), u"README");
  EXPECT_FALSE(Tag(u"x.").changed);
}

TEST_F(TShowPreviewTest, TwoEntriesRenamedToOneNameCollide) {
  Files({u"a.txt", u"b.txt"});
  ReplaceName(u"c");
  const TPreviewResult r = Preview();
  EXPECT_EQ(r.CollisionCount, 1);
  EXPECT_TRUE(Tag(u"a.txt").IsCollision);
  EXPECT_TRUE(Tag(u"b.txt").IsCollision);
  EXPECT_EQ(r.ChangedCount, 2);
}

TEST_F(TShowPreviewTest, CheckedEntryAgainstUncheckedOne) {
  Files({u"a.txt", u"b.txt"});
  list.SetChecked(Row(u"b.txt"), false);
  ReplaceName(u"B");
  FindReplace(u"txt", u"TXT");
  const TPreviewResult r = Preview();
  EXPECT_EQ(NewName(u"a.txt"), u"B.TXT");
  EXPECT_EQ(r.CollisionCount, 1);
  EXPECT_TRUE(Tag(u"a.txt").IsCollision);
  EXPECT_TRUE(Tag(u"b.txt").IsCollision);
}

TEST_F(TShowPreviewTest, SwapIsNoCollision) {
  Files({u"a.txt", u"b.txt"});
  FindReplace(u"a", u"#");
  FindReplace(u"b", u"a");
  FindReplace(u"#", u"b");
  const TPreviewResult r = Preview();
  EXPECT_EQ(NewName(u"a.txt"), u"b.txt");
  EXPECT_EQ(NewName(u"b.txt"), u"a.txt");
  EXPECT_EQ(r.CollisionCount, 0);
}

TEST_F(TShowPreviewTest, AsciiCaseFoldingOnly) {
  Files({u"1.txt", u"2.txt"});
  FindReplace(u"1", u"C");
  FindReplace(u"2", u"c");
  EXPECT_EQ(Preview().CollisionCount, 1);
  script.Clear();
  FindReplace(u"1", u"\u00C4");
  FindReplace(u"2", u"\u00E4");
  EXPECT_EQ(Preview().CollisionCount, 0);
}

TEST_F(TShowPreviewTest, RemovedExtensionLeavesNoDot) {
  Files({u"photo.jpg"});
  TScriptStep& step = script.NewScriptControl(TScriptType::stReplaceNameExtension);
  step.SetChoice(TReplace::cbxReplacePart, 1);
  step.SetText(TReplace::txtReplaceWith, u"");
  Preview();
  EXPECT_EQ(NewName(u"photo.jpg"), u"photo");
}

TEST_F(TShowPreviewTest, IllegalNamesAreCountedAndStillChecked) {
  Files({u"a.txt", u"b.txt"});
  ReplaceName(u"x:y");
  const TPreviewResult r = Preview();
  EXPECT_EQ(r.IllegalCount, 2);
  EXPECT_EQ(r.CollisionCount, 1);
  EXPECT_TRUE(Tag(u"a.txt").IsIllegalNewname);
}

// Of every ASCII character, exactly the reserved ones make a name illegal.
TEST(TIllegalNewNameTest, ReservedCharactersAreIllegal) {
  const std::u16string reserved(u"?<>\":|*\0", 8);
  for (char16_t c = 0; c < 0x80; ++c) {
    if (c == u'/') continue;
    const std::u16string name = u"a" + std::u16string(1, c) + u"b";
    EXPECT_EQ(IsIllegalNewName(name), reserved.find(c) != std::u16string::npos) << int(c);
  }
}

TEST_F(TShowPreviewTest, NamesLeavingTheFolderAreIllegal) {
  EXPECT_TRUE(IsIllegalNewName(u"../up.txt"));
  EXPECT_TRUE(IsIllegalNewName(u"/etc/passwd"));
  EXPECT_TRUE(IsIllegalNewName(u"a//b.txt"));
  EXPECT_TRUE(IsIllegalNewName(u"sub/./b.txt"));
  EXPECT_TRUE(IsIllegalNewName(u".."));
  EXPECT_TRUE(IsIllegalNewName(u""));
  EXPECT_TRUE(IsIllegalNewName(u"trailing/"));
  EXPECT_FALSE(IsIllegalNewName(u"sub/new.txt"));
  EXPECT_FALSE(IsIllegalNewName(u"..hidden"));
  EXPECT_FALSE(IsIllegalNewName(u"a\\b"));  // a backslash is an ordinary character
  Files({u"a.txt"});
  ReplaceName(u"../a");
  EXPECT_EQ(Preview().IllegalCount, 1);
}

// A part of a new name longer than the disk keeps is illegal, measured in
// the bytes the disk holds: UTF-8, and one byte for each byte of a name that
// is not UTF-8 (U+DC80 and up).
TEST_F(TShowPreviewTest, NamesLongerThanTheDiskKeepsAreIllegal) {
  const auto times = [](std::u16string_view unit, size_t n) {
    std::u16string text;
    for (size_t i = 0; i < n; ++i) text += unit;
    return text;
  };
  const struct {
    std::u16string name;
    bool illegal;
  } cases[] = {
      {times(u"n", 255), false},
      {times(u"n", 256), true},
      {times(u"\u00e9", 127) + u"a", false},       // 255 bytes in 128 characters
      {times(u"\u00e9", 128), true},               // 256 bytes
      {times(u"\U0001F600", 63) + u"abc", false},  // four bytes each
      {times(u"\U0001F600", 64), true},
      {times(u"\xDC80", 255), false},  // raw bytes of a name that is not UTF-8
      {times(u"\xDC80", 256), true},
      {times(u"n", 256) + u"/short.txt", true},  // a folder part counts too
      {u"sub/" + times(u"n", 255), false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsIllegalNewName(c.name), c.illegal)
        << Utf16ToUtf8(c.name).size() << " bytes in " << c.name.size() << " units";
  }
  Files({u"a.txt", u"b.txt"});
  list.SetChecked(Row(u"b.txt"), false);
  ReplaceName(times(u"n", 252));  // 256 bytes with ".txt"
  EXPECT_EQ(Preview().IllegalCount, 1);
  EXPECT_TRUE(Tag(u"a.txt").IsIllegalNewname);
}

TEST_F(TShowPreviewTest, CaseOnlyChangeCounts) {
  Files({u"a.txt"});
  options.caseOptions.cbOverrideCase = true;
  options.caseOptions.Mode = TCaseStyle::Uppercase;
  const TPreviewResult r = Preview();
  EXPECT_EQ(NewName(u"a.txt"), u"A.TXT");
  EXPECT_EQ(r.ChangedCount, 1);
}

TEST_F(TShowPreviewTest, CountersFollowCheckedPositions) {
  Files({u"a.txt", u"b.txt", u"c.txt"});
  list.SetChecked(Row(u"b.txt"), false);
  script.NewScriptControl(TScriptType::stAddCounter);
  options.counting.txtStartAt = u"10";
  options.counting.txtIncrement = u"x";  // not a number: 1
  Preview();
  EXPECT_EQ(NewName(u"a.txt"), u"10a.txt");
  EXPECT_EQ(NewName(u"b.txt"), u"");
  EXPECT_EQ(NewName(u"c.txt"), u"11c.txt");
}

TEST_F(TShowPreviewTest, CollisionStepPointsAtTheEarlierEntry) {
  Files({u"a.txt", u"b.txt"});
  ReplaceName(u"same");
  TScriptStep& add = script.NewScriptControl(TScriptType::stAddBeginningEnding);
  add.SetText(TScriptStepAddBeginningEnding::txtAdd, u" (?n01?)");
  add.SetChoice(TScriptStepAddBeginningEnding::cbxAddAtThe, 1);
  add.SetFlag(TScriptStepAddBeginningEnding::cbOnCollision, true);
  const TPreviewResult r = Preview();
  // The second entry finds "same.txt" taken and becomes "same (2)"; the
  // second pass renames the first one, which then carries OriginalCollision.
  EXPECT_EQ(NewName(u"b.txt"), u"same (2).txt");
  EXPECT_TRUE(Tag(u"a.txt").OriginalCollision);
  EXPECT_EQ(NewName(u"a.txt"), u"same (1).txt");
  EXPECT_EQ(r.CollisionCount, 0);
}

TEST_F(TShowPreviewTest, InvalidExpressionIsReportedInTheSubStatus) {
  Files({u"a.txt"});
  options.useRegExp = true;
  FindReplace(u"(", u"x");
  const TPreviewResult r = Preview();
  EXPECT_NE(r.RegExpError, 0);
  EXPECT_EQ(r.subStatus, u" Error in Regular Expression: " + IntToStr(r.RegExpError));
  EXPECT_EQ(NewName(u"a.txt"), u"a.txt");
}

TEST_F(TShowPreviewTest, StatusPanelsWordForWord) {
  const auto panels = StatusPanels(12, 3, 10, 4, 2, 1, u"");
  EXPECT_EQ(panels[0], u"   Files/Folders [12/3] Checked [10] Changed [4]");
  EXPECT_EQ(panels[1], u"COLLISIONS [2] ILLEGAL [1]");
  EXPECT_EQ(StatusPanels(1, 0, 1, 0, 0, 0, u"")[0], u"   Files/Folders [1/0] Checked [1]");
  EXPECT_EQ(StatusPanels(1, 0, 1, 0, 0, 2, u"")[1], u" ILLEGAL [2]");
}

TEST_F(TShowPreviewTest, CustomColumnsShowExpandedTemplatesOnly) {
  Files({u"a.txt"});
  options.customColumns = {u"?cfo?", u"plain"};
  Preview();
  const auto& values = list.GetFileData(Row(u"a.txt"))->fcustomdata;
  ASSERT_EQ(values.size(), 2u);
  EXPECT_EQ(values[0], u"a");
  EXPECT_EQ(values[1], u"");
}

}  // namespace
