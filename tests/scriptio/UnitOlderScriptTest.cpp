#include "scriptio/UnitOlderScript.h"

#include <gtest/gtest.h>

#include "UnitScriptIoFixture.h"

namespace {

using T = TScriptType;

class TOlderScriptTest : public ::testing::Test, protected TScriptIoFixture {
 protected:
  std::vector<T> Types() const {
    std::vector<T> types;
    for (int i = 0; i < actions.Count(); ++i) types.push_back(actions.Step(i).ScriptType());
    return types;
  }
};

TEST_F(TOlderScriptTest, EndOfNameAndCollisionGiveTwoStepsCollisionLast) {
  TClassicOptions c;
  c.cbAEndOfName = true;
  c.txtAEndOfName = u"_x";
  c.cbCollision = true;
  ConvertClassicOptions(c, actions);
  ASSERT_EQ(Types(), (std::vector<T>{T::stAddBeginningEnding, T::stAddBeginningEnding}));
  EXPECT_EQ(ParamText(actions, 0, u"txtAdd"), u"_x");
  EXPECT_EQ(ParamChoice(actions, 0, u"cbxAddAtThe"), 1);
  EXPECT_FALSE(ParamFlag(actions, 0, u"cbOnCollision"));
  EXPECT_EQ(ParamText(actions, 1, u"txtAdd"), u"(?n02?)");
  EXPECT_TRUE(ParamFlag(actions, 1, u"cbOnCollision"));
}

TEST_F(TOlderScriptTest, FourRemoveCharacterOptionsInTheirOrder) {
  TClassicOptions c;
  c.cbRMFromExtensionEnd = c.cbRMFromNameStart = c.cbRMFromExtensionStart = c.cbRMFromNameEnd = true;
  c.udNS = 1, c.udNE = 2, c.udES = 3, c.udEE = 4;
  ConvertClassicOptions(c, actions);
  ASSERT_EQ(actions.Count(), 4);
  const int position[] = {0, 1, 0, 1}, part[] = {0, 0, 1, 1};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(actions.Step(i).ScriptType(), T::stRemoveBeginningEnding) << i;
    EXPECT_EQ(ParamChoice(actions, i, u"cbxRemoveCharPosition"), position[i]) << i;
    EXPECT_EQ(ParamChoice(actions, i, u"cbxRemoveCharactersPart"), part[i]) << i;
    EXPECT_EQ(ParamText(actions, i, u"txtR2X"), std::u16string(1, u'1' + i)) << i;
  }
}

TEST_F(TOlderScriptTest, FindWithMoveChoicesGivesNoStep) {
  for (int insert : {2, 3, -1, 7}) {
    TClassicOptions c;
    c.cbA2Find = true;
    c.cbA2Insert = insert;
    ConvertClassicOptions(c, actions);
    EXPECT_EQ(actions.Count(), 0) << "cbA2Insert " << insert;
  }
  TClassicOptions c;
  c.cbA2Find = true;
  c.cbA2Insert = 1;
  c.txtA2Find = u"-";
  ConvertClassicOptions(c, actions);
  ASSERT_EQ(Types(), std::vector<T>{T::stAddBeforeAfter});
  EXPECT_EQ(ParamChoice(actions, 0, u"cbxAddPlace"), 1);
  EXPECT_EQ(ParamText(actions, 0, u"txtAfter"), u"-");
}

TEST_F(TOlderScriptTest, EveryOptionInTableOrder) {
  TClassicOptions c;
  c.cbRM2Characters = c.cbEverything = c.cbRM2NumFromName = c.cbRM2NumFromExt = true;
  c.cbRMFromNameStart = c.cbRMFromName = c.cbRMFromExtension = true;
  c.cbRPNameWith = c.cbRPExtensionWith = c.cbRPThis = c.cbRP2Characters = true;
  c.cbRP2CharacterList = c.cbRPNumbers = c.cbA2Find = c.cbAEInsert = c.cbANInsert = true;
  c.cbAEndOfName = c.cbAEndOfExtension = c.cbCollision = true;
  ConvertClassicOptions(c, actions);
  EXPECT_EQ(Types(),
            (std::vector<T>{T::stRemoveSubstring, T::stRemoveSubstring, T::stRemoveWords,
                            T::stRemoveWords, T::stRemoveBeginningEnding, T::stRemoveWords,
                            T::stRemoveWords, T::stReplaceNameExtension,
                            T::stReplaceNameExtension, T::stReplaceNameExtension,
                            T::stReplaceNameExtension, T::stReplaceCharacters,
                            T::stReplaceNumbers, T::stAddBeforeAfter, T::stAddPosition,
                            T::stAddPosition, T::stAddBeginningEnding, T::stAddBeginningEnding,
                            T::stAddBeginningEnding}));
}

TEST_F(TOlderScriptTest, LoadsTheClassicFixture) {
  fs.AddFile(u"/app/classic.tw-", ScriptFixtureBytes("classic.tw-"));
  ASSERT_TRUE(LoadOlderScript(actions, twscript, u"/app/classic.tw-").ok());
  EXPECT_EQ(model.scriptName, u"classic.tw-");
  EXPECT_EQ(model.filter, u"*.jpg");
  EXPECT_EQ(model.textMatch, TTextMatch::BySearch);
  EXPECT_EQ(Types(),
            (std::vector<T>{T::stRemoveSubstring, T::stRemoveSubstring, T::stRemoveWords,
                            T::stRemoveBeginningEnding, T::stRemoveBeginningEnding,
                            T::stRemoveBeginningEnding, T::stRemoveBeginningEnding,
                            T::stRemoveWords, T::stReplaceNameExtension,
                            T::stReplaceNameExtension, T::stReplaceNameExtension,
                            T::stReplaceCharacters, T::stReplaceNumbers, T::stAddBeforeAfter,
                            T::stAddPosition, T::stAddPosition, T::stAddBeginningEnding,
                            T::stAddBeginningEnding}));
  // Row 1: characters 3 to 4 moved to position 9.
  EXPECT_EQ(ParamChoice(actions, 0, u"cbxRemoveType"), 1);
  EXPECT_EQ(ParamText(actions, 0, u"txtR3X"), u"3");
  EXPECT_EQ(ParamText(actions, 0, u"txtR3Y"), u"4");
  EXPECT_TRUE(ParamFlag(actions, 0, u"cbAndMove"));
  EXPECT_EQ(ParamText(actions, 0, u"txtR3Z"), u"9");
  // Row 2: "remove all but" takes Remove2's X and Y, not Replace2's.
  EXPECT_EQ(ParamText(actions, 1, u"txtR3X"), u"2");
  EXPECT_EQ(ParamText(actions, 1, u"txtR3Y"), u"6");
  // Row 9: a word list.
  EXPECT_EQ(ParamChoice(actions, 7, u"cbxRemovePhrase"), 1);
  EXPECT_EQ(ParamText(actions, 7, u"txtRemovePhrase"), u"the a");
  // Row 14: in characters 2 to 5.
  EXPECT_TRUE(ParamFlag(actions, 10, u"cbReplaceOnly"));
  EXPECT_EQ(ParamText(actions, 10, u"txtRP2Y"), u"5");
  EXPECT_EQ(ParamText(actions, 11, u"txtReplaceChar1"), u"\u00E9");
  EXPECT_EQ(ParamChoice(actions, 12, u"cbxNumbers"), 1);
  // Rows 18 and 19: the extension's position clamped to 255, inserted into the extension.
  EXPECT_EQ(ParamText(actions, 14, u"txtAddPosition"), u"255");
  EXPECT_EQ(ParamChoice(actions, 14, u"cbxAddPart"), 1);
  EXPECT_EQ(ParamText(actions, 15, u"txtAddPosition"), u"3");
  EXPECT_EQ(ParamChoice(actions, 15, u"cbxAddPart"), 0);
  EXPECT_EQ(ParamText(actions, 16, u"txtAdd"), u" end");
  EXPECT_EQ(ParamText(actions, 17, u"txtAdd"), u" (?n02?)");
}

TEST_F(TOlderScriptTest, PlainKeyFileAndMissingFile) {
  fs.AddFile(u"/app/classic-plain.tw-", ScriptFixtureBytes("classic-plain.tw-"));
  model.filter = u"*.keep";
  ASSERT_TRUE(LoadOlderScript(actions, twscript, u"/app/classic-plain.tw-").ok());
  EXPECT_EQ(model.filter, u"*.keep");  // UseFilter=0
  ASSERT_EQ(actions.Count(), 2);       // the Find option with "move it before" gives none
  EXPECT_EQ(ParamText(actions, 0, u"txtAdd"), u" - x");
  EXPECT_EQ(ParamText(actions, 1, u"txtAdd"), u"(?n02?)");

  ASSERT_TRUE(LoadOlderScript(actions, twscript, u"/app/missing.tw-").ok());
  EXPECT_EQ(actions.Count(), 0);
  EXPECT_EQ(model.filter, u"*.*");
}

TEST(OlderScriptNameTest, RecognisesTheDefaultScript) {
  EXPECT_TRUE(IsDefaultOlderScript(u"/app/Default.TW-"));
  EXPECT_FALSE(IsDefaultOlderScript(u"/app/default.tw-/x.tw-"));
}

}  // namespace
