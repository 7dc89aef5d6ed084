#include "engine/UnitScriptStep.h"

#include <gtest/gtest.h>

#include "engine/UnitScriptStepAdd.h"
#include "engine/UnitScriptStepCondition.h"
#include "engine/UnitScriptStepFactory.h"
#include "engine/UnitScriptStepMove.h"
#include "engine/UnitScriptStepRemove.h"
#include "platform/UnitText.h"

namespace {

// The stored keys of every kind in file order, with their kind and default,
// as script files write them.
std::u16string FileKeys(const TScriptStep& step) {
  std::u16string out;
  for (const int i : step.ParametersInFileOrder()) {
    const TParamDef& def = step.Parameters()[static_cast<size_t>(i)];
    if (!out.empty()) out += u"; ";
    out += std::u16string(def.name);
    switch (def.kind) {
      case TParamKind::Text: out += u" T \"" + step.Text(i) + u"\""; break;
      case TParamKind::Choice: out += u" C " + IntToStr(step.Choice(i)); break;
      case TParamKind::Flag: out += step.Flag(i) ? u" F 1" : u" F 0"; break;
    }
  }
  return out;
}

TEST(TScriptStepTest, EveryKindDeclaresItsStoredParametersInFileOrder) {
  const char16_t* expected[kScriptTypeCount] = {
      u"cbOnCollision F 0; cbxAddAtThe C 0; cbxAddPart C 0; txtAdd T \"\"",
      u"cbxAddPart C 0; cbxFromTheBeginningEnding C 0; txtAdd T \"\"; txtAddPosition T \"1\"",
      u"cbxAddPart C 0; cbxAddPlace C 0; txtAdd T \"\"; txtAfter T \"\"",
      u"cbReplaceOnly F 0; cbxReplacePart C 2; cbxReplaceTarget C 0; txtReplacePhrase T \"\"; "
      u"txtReplaceWith T \"\"; txtRP2X T \"1\"; txtRP2Y T \"10\"",
      u"cbxReplaceCharPart C 0; txtReplaceChar1 T \"\"; txtReplaceChar2 T \"\"",
      u"cbxNumbers C 0; cbxRNSequence C 1; txtRNWith T \"?n02?\"",
      u"cbxRemovePhrase C 0; cbxRemovePhrasePart C 0; txtRemovePhrase T \"\"",
      u"cbAndStore F 0; cbRCReplace F 0; cbxRemoveCharactersPart C 0; cbxRemoveCharPosition C 0; "
      u"txtR2X T \"1\"; txtRCReplace T \"\"",
      u"cbAndMove F 0; cbAndStoreRM F 0; cbxRemoveType C 1; txtR3X T \"1\"; txtR3Y T \"10\"; "
      u"txtR3Z T \"1\"",
      u"cbAndStoreRM2 F 0; cbRBReplace F 0; cbxBeforeAfter C 0; txtRBReplace T \"\"; "
      u"txtRemove2Phrase T \"\"",
      u"cbxBeginningEnding C 0; txtAZeros T \"2\"",
      u"cbreAndEndsWith F 0; cbreAndStore F 0; cbreAtThe F 0; cbreHasInTheMiddle F 0; "
      u"cbreRemoveNumber F 0; cbreThatSTartsWIth F 0; cbxreBegginingEnding C 0; "
      u"cbxrePhraseCharacters C 0; cbxrePhraseCharacters2 C 1; cbxrePhraseCharacters3 C 0; "
      u"cbxRERemoveReplace C 0; txtRE1 T \"1\"; txtrePhraseCharacters T \"\"; "
      u"txtrePhraseCharacters2 T \"\"; txtrePhraseCharacters3 T \"\"; txtREWith T \"\"",
      u"cbxCECondition C 0; cbxCESkipRemove C 0; txtCE1 T \"1\"; txtCEText T \"\"",
      u"",
      u"txtFilemask T \"\"; txtMove T \"\"",
      u"cbxSMBeforeAfter C 0; cbxSMBeforeAfter2 C 0; cbxSMBeginningEnding C 0; "
      u"cbxSMBeginningEnding2 C 0; rbSMBeforeAfter F 1; rbSMBeforeAfter2 F 0; "
      u"rbSMBeginningEnding F 0; rbSMBeginningEnding2 F 1; rbSMPosition F 0; rbSMPosition2 F 0; "
      u"txtSMPhrase T \"\"; txtSMPhrase2 T \"\"; txtSMX1 T \"1\"; txtSMX2 T \"1\"; "
      u"txtSMY1 T \"10\"; txtSMZ1 T \"1\"",
      u"cbSTrim F 1; txtSPhrase T \"\"",
      u"cbFEFromThe F 0; cbFEInsert F 0; cbxFEBeforeAFter C 0; cbxFEBeginningEnding C 0; "
      u"txtFEPhrase1 T \"\"; txtFEPhrase2 T \"\"; txtFEPhrase3 T \"\"; txtFEPhrase4 T \"\"; "
      u"txtFEX1 T \"1\"; txtFEY1 T \"0\"",
  };
  for (int type = 0; type < kScriptTypeCount; ++type) {
    auto step = NewScriptStep(static_cast<TScriptType>(type));
    ASSERT_NE(step, nullptr);
    EXPECT_EQ(static_cast<int>(step->ScriptType()), type);
    EXPECT_TRUE(step->Enabled);
    EXPECT_EQ(Utf16ToUtf8(FileKeys(*step)), Utf16ToUtf8(expected[type])) << "TYPE " << type;
  }
}

TEST(TScriptStepTest, ParametersAreFoundByNameIgnoringCase) {
  TScriptStepAddBeginningEnding step;
  EXPECT_EQ(step.FindParameter(u"TXTADD"), TScriptStepAddBeginningEnding::txtAdd);
  EXPECT_EQ(step.FindParameter(u"cbOnCollision"), TScriptStepAddBeginningEnding::cbOnCollision);
  EXPECT_EQ(step.FindParameter(u"txtMissing"), -1);
}

TEST(TScriptStepTest, IntegerRule) {
  TScriptStepRemoveSubstring step;
  const int x = TScriptStepRemoveSubstring::txtR3X;
  const struct {
    std::u16string text;
    int expected;
  } cases[] = {{u"7", 7}, {u"-3", -3}, {u"", 99}, {u"x", 99}, {u"4.5", 99},
               {u"99999999999", 99}, {u"0", 0}};
  for (const auto& c : cases) {
    step.SetText(x, c.text);
    EXPECT_EQ(step.IntegerParam(x, 99), c.expected) << Utf16ToUtf8(c.text);
  }
}

TEST(TScriptStepTest, ResetRestoresOnlyWhatTheKindResets) {
  TScriptStepAddBeginningEnding add;
  add.SetText(TScriptStepAddBeginningEnding::txtAdd, u"x");
  add.SetChoice(TScriptStepAddBeginningEnding::cbxAddPart, 1);
  add.SetFlag(TScriptStepAddBeginningEnding::cbOnCollision, true);
  add.Reset();
  EXPECT_EQ(add.Text(TScriptStepAddBeginningEnding::txtAdd), u"");
  EXPECT_EQ(add.Choice(TScriptStepAddBeginningEnding::cbxAddPart), 1);  // kept
  EXPECT_FALSE(add.Flag(TScriptStepAddBeginningEnding::cbOnCollision));

  TScriptStepConditionExecute condition;
  condition.SetChoice(TScriptStepConditionExecute::cbxCESkipRemove, 1);
  condition.SetText(TScriptStepConditionExecute::txtCE1, u"5");
  condition.Reset();
  EXPECT_EQ(condition.Choice(TScriptStepConditionExecute::cbxCESkipRemove), 1);  // kept
  EXPECT_EQ(condition.Text(TScriptStepConditionExecute::txtCE1), u"1");

  TScriptStepSelectAndMove select;  // resets nothing
  select.SetText(TScriptStepSelectAndMove::txtSMPhrase, u"-");
  select.Reset();
  EXPECT_EQ(select.Text(TScriptStepSelectAndMove::txtSMPhrase), u"-");
}

TEST(TScriptStepTest, ConditionSentence) {
  TScriptStepConditionExecute step;
  EXPECT_EQ(SentenceText(step.GetSentence()),
            u"Execute the next '1' steps if the  previous step changes the name");
  step.SetChoice(TScriptStepConditionExecute::cbxCECondition, 2);
  step.SetText(TScriptStepConditionExecute::txtCEText, u"x");
  const TSentence words = step.GetSentence();
  EXPECT_EQ(SentenceText(words), u"Execute the next '1' steps if the  name contains 'x'");
  EXPECT_EQ(words[0].kind, TSentenceWord::TKind::Choice);
  EXPECT_EQ(words[2].kind, TSentenceWord::TKind::Text);
  EXPECT_EQ(words[2].parameter, TScriptStepConditionExecute::txtCE1);
}

TEST(TScriptStepTest, TypesOutsideTheTableAreRefused) {
  TScriptType type{};
  EXPECT_TRUE(ScriptTypeFromInt(17, type));
  EXPECT_EQ(type, TScriptType::stFindAndEdit);
  EXPECT_FALSE(ScriptTypeFromInt(18, type));
  EXPECT_FALSE(ScriptTypeFromInt(-1, type));
}

}  // namespace
