#include "engine/UnitScriptActions.h"

#include <gtest/gtest.h>

#include "engine/UnitScriptStepAdd.h"
#include "engine/UnitScriptStepCondition.h"
#include "model/UnitTagData.h"
#include "platform/UnitText.h"
#include "support/UnitScriptTestContext.h"

namespace {

using TAdd = TScriptStepAddBeginningEnding;
using TCondition = TScriptStepConditionExecute;

class TFrmScriptActionsTest : public ::testing::Test {
 protected:
  TScriptStep& AddText(std::u16string_view text, int atThe = 1, bool disabled = false) {
    TScriptStep& step = script.NewScriptControl(TScriptType::stAddBeginningEnding, disabled);
    step.SetText(TAdd::txtAdd, text);
    step.SetChoice(TAdd::cbxAddAtThe, atThe);
    return step;
  }
  TScriptStep& Condition(int skipOrExecute, int count, int condition, std::u16string_view text) {
    TScriptStep& step = script.NewScriptControl(TScriptType::stConditionalExecute);
    step.SetChoice(TCondition::cbxCESkipRemove, skipOrExecute);
    step.SetText(TCondition::txtCE1, IntToStr(count));
    step.SetChoice(TCondition::cbxCECondition, condition);
    step.SetText(TCondition::txtCEText, text);
    return step;
  }
  // Runs the script on "name"+"ext" and returns the joined result.
  std::u16string Run(std::u16string name, std::u16string ext = u".txt") {
    const RenameRecord rec = TestRecord(name + ext);
    collisionindex = 99;
    script.RunScriptOn(name, ext, rec, td, collisionindex, t.ctx);
    return name + ext;
  }
  std::vector<std::u16string> LineTexts(bool alwaysFull = true) {
    std::vector<std::u16string> out;
    for (const auto& line : script.Lines(alwaysFull)) out.push_back(line.Text());
    return out;
  }

  TScriptTestContext t;
  TFrmScriptActions script;
  TTagData td;
  int collisionindex = 0;
};

TEST_F(TFrmScriptActionsTest, NoEnabledStepLeavesTheNameAlone) {
  EXPECT_EQ(Run(u"photo"), u"photo.txt");
  EXPECT_EQ(collisionindex, -1);
  AddText(u"x", 1, true);
  EXPECT_EQ(Run(u"photo"), u"photo.txt");
  EXPECT_FALSE(script.AnyEnabled());
}

TEST_F(TFrmScriptActionsTest, StepsRunInOrder) {
  AddText(u"_a");
  AddText(u"b_", 0);
  AddText(u"_c");
  EXPECT_EQ(Run(u"n"), u"b_n_a_c.txt");
}

TEST_F(TFrmScriptActionsTest, ExecuteConditionCountsOnlyEnabledSteps) {
  Condition(0, 2, 2, u"x");
  AddText(u"_disabled", 1, true);
  AddText(u"_1");
  AddText(u"_2");
  AddText(u"_3");
  EXPECT_EQ(Run(u"abc", u".doc"), u"abc_3.doc");
  EXPECT_EQ(Run(u"axc", u".doc"), u"axc_1_2_3.doc");
}

TEST_F(TFrmScriptActionsTest, SkipCountBeyondTheScriptSkipsToTheEnd) {
  Condition(0, 100, 2, u"zzz");
  AddText(u"_1");
  EXPECT_EQ(Run(u"abc"), u"abc.txt");
  Condition(0, -5, 2, u"zzz");  // a count below 1 skips nothing
  AddText(u"_2");
  EXPECT_EQ(Run(u"abc"), u"abc.txt");
}

TEST_F(TFrmScriptActionsTest, PreviousStepChangesTheName) {
  TScriptStep& noChange = AddText(u"");
  Condition(1, 1, 0, u"");
  AddText(u"_runs");
  EXPECT_EQ(Run(u"a"), u"a_runs.txt");
  noChange.SetText(TAdd::txtAdd, u"!");
  EXPECT_EQ(Run(u"a"), u"a!.txt");  // the name changed, so the next step is skipped
}

TEST_F(TFrmScriptActionsTest, ConditionAtTheTopSeesNoChange) {
  Condition(0, 1, 0, u"");
  AddText(u"_skipped");
  AddText(u"_runs");
  EXPECT_EQ(Run(u"a"), u"a_runs.txt");
}

TEST_F(TFrmScriptActionsTest, SkippedConditionIsConsumedLikeAnyStep) {
  Condition(0, 1, 2, u"zzz");  // false: skips the next step, which is a condition
  Condition(0, 1, 2, u"zzz");
  AddText(u"_runs");
  EXPECT_EQ(Run(u"a"), u"a_runs.txt");
}

TEST_F(TFrmScriptActionsTest, NameMatchesTriesTheWholeNameFirst) {
  Condition(0, 1, 1, u"*.txt");
  AddText(u"_yes");
  EXPECT_EQ(Run(u"a"), u"a_yes.txt");
  script.Step(0).SetText(TCondition::txtCEText, u"a");
  EXPECT_EQ(Run(u"a"), u"a_yes.txt");  // through the name alone
  script.Step(0).SetText(TCondition::txtCEText, u"b*");
  EXPECT_EQ(Run(u"a"), u"a.txt");
  t.ctx.UseRegExp = true;
  script.Step(0).SetText(TCondition::txtCEText, u"a\\.t.t");
  EXPECT_EQ(Run(u"a"), u"a_yes.txt");
  script.Step(0).SetText(TCondition::txtCEText, u"(");  // invalid: no match
  EXPECT_EQ(Run(u"a"), u"a.txt");
}

TEST_F(TFrmScriptActionsTest, TempIsEmptiedAtTheStartOfEachRun) {
  t.vars.SetKeepEmptyVariables(false);
  t.vars.SetTempText(u"left over");
  AddText(u"[?temp?]");
  EXPECT_EQ(Run(u"a"), u"a[].txt");
}

TEST_F(TFrmScriptActionsTest, CollisionPassFindsTheFirstFreeName) {
  TScriptStep& step = AddText(u" (?n02?)");
  step.SetFlag(TAdd::cbOnCollision, true);
  EXPECT_EQ(Run(u"Filename"), u"Filename.txt");  // no collision: nothing added
  EXPECT_EQ(collisionindex, -1);

  EXPECT_EQ(t.collisions.Add(u"", u"/test/filename.TXT", 5), -1);
  EXPECT_EQ(Run(u"Filename"), u"Filename (02).txt");
  EXPECT_EQ(collisionindex, 5);
  EXPECT_FALSE(td.IsCollision);

  EXPECT_EQ(t.collisions.Add(u"", u"/test/Filename (02).txt", 6), -1);
  EXPECT_EQ(Run(u"Filename"), u"Filename (03).txt");

  td.OriginalCollision = true;
  EXPECT_EQ(Run(u"Filename"), u"Filename (01).txt");
}

TEST_F(TFrmScriptActionsTest, CollisionPassKeepsTheLastCandidateWhenEverythingIsTaken) {
  TScriptStep& step = AddText(u"-?n00?");
  step.SetFlag(TAdd::cbOnCollision, true);
  EXPECT_EQ(t.collisions.Add(u"", u"/test/F.txt", 0), -1);
  for (int n = 1; n <= 50001; ++n) {
    ASSERT_EQ(t.collisions.Add(u"", u"/test/F-" + IntToStr(n) + u".txt", n), -1);
  }
  EXPECT_EQ(Run(u"F"), u"F-50001.txt");
  EXPECT_TRUE(td.IsCollision);
}

TEST_F(TFrmScriptActionsTest, CollisionTextWithoutVariablesIsAddedOnce) {
  TScriptStep& step = AddText(u"_copy", 0);
  step.SetFlag(TAdd::cbOnCollision, true);
  step.SetChoice(TAdd::cbxAddPart, 1);  // the extension
  EXPECT_EQ(t.collisions.Add(u"", u"/test/a.txt", 1), -1);
  EXPECT_EQ(t.collisions.Add(u"", u"/test/a_copy.txt", 2), -1);
  EXPECT_EQ(Run(u"a"), u"a_copy.txt");
  EXPECT_TRUE(td.IsCollision);
}

TEST_F(TFrmScriptActionsTest, LinesAreNumberedAndMarked) {
  AddText(u"a");
  AddText(u"b");
  AddText(u"c");
  EXPECT_EQ(LineTexts()[0], u"[01] Add 'a' to the Name Ending");
  script.MoveUp(2, true);
  EXPECT_EQ(LineTexts()[0], u"[01] Add 'c' to the Name Ending");
  EXPECT_EQ(LineTexts()[2], u"[03] Add 'b' to the Name Ending");

  script.Clear();
  Condition(0, 2, 2, u"x");
  AddText(u"1");
  AddText(u"2", 1, true);  // disabled steps count for the markers
  AddText(u"3");
  auto lines = LineTexts();
  EXPECT_EQ(lines[0].substr(0, 5), u"[01] ");
  EXPECT_EQ(lines[1].substr(0, 9), u"[02]  >> ");
  EXPECT_EQ(lines[2].substr(0, 9), u"[03]  >> ");
  EXPECT_EQ(lines[3].substr(0, 6), u"[04] A");
  script.ToggleEnable(0);
  EXPECT_EQ(LineTexts()[1].substr(0, 6), u"[02] A");
}

TEST_F(TFrmScriptActionsTest, TitleUnlessFullOrFoldedAndEnabled) {
  AddText(u"a");
  AddText(u"b", 1, true);
  const auto lines = script.Lines(false, [](int) { return true; });
  EXPECT_EQ(lines[0].Text(), u"[01] Add 'a' to the Name Ending");
  EXPECT_EQ(lines[1].Text(), u"[02] Add to Beginning/Ending");
  EXPECT_EQ(script.Lines(false, [](int) { return false; })[0].Text(),
            u"[01] Add to Beginning/Ending");
  for (int i = 0; i < 100; ++i) AddText(u"x");
  EXPECT_EQ(script.Lines(true).back().prefix, u"[102] ");
}

TEST_F(TFrmScriptActionsTest, ListOperationsNotifyTheListener) {
  int changes = 0;
  script.SetChangeListener([&] { ++changes; });
  AddText(u"a");
  AddText(u"b");
  AddText(u"c");
  EXPECT_EQ(changes, 3 + 6);  // three creations and six parameter edits
  changes = 0;
  script.Delete(1, false);
  EXPECT_EQ(script.Count(), 2);
  EXPECT_EQ(script.AllControls().size(), 3u);
  EXPECT_TRUE(script.AllControls()[1]->fDeleted);
  script.Delete(0, true);  // with Shift: reset only
  EXPECT_EQ(script.Count(), 2);
  EXPECT_EQ(script.Step(0).Text(TAdd::txtAdd), u"");
  script.MoveDown(0, false);
  EXPECT_EQ(script.Step(0).Text(TAdd::txtAdd), u"c");
  script.MoveDown(1, false);  // the last step stays
  script.MoveUp(0, false);    // the first step stays
  EXPECT_EQ(changes, 3);
  script.DisableAll();
  EXPECT_FALSE(script.AnyEnabled());
  script.ToggleEnable(1);
  script.ClearDisabled();
  EXPECT_EQ(script.Count(), 1);
  script.ResetAll();
  EXPECT_FALSE(script.Step(0).Enabled);
  EXPECT_EQ(script.AddSteps().size(), 3u);
  script.Clear();
  EXPECT_EQ(script.Count(), 0);
  EXPECT_TRUE(script.AllControls().empty());
}

}  // namespace
