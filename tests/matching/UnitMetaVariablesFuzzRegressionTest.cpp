// The inputs that made fuzz/FuzzMetaVariables.cpp fail, run through the same
// harness, and the fault they found stated directly.
#include <gtest/gtest.h>

#include <string>

#include "UnitFuzzRegression.h"
#include "matching/UnitMetaVariables.h"
#include "platform/UnitText.h"
#include "support/UnitFakeFileSystem.h"
#include "support/UnitFakeServices.h"

namespace {

TEST(TMetaVariablesFuzzRegressionTest, SavedInputsReturn) {
  const std::vector<TSavedFuzzInput> inputs = SavedFuzzInputs("metavariables");
  ASSERT_FALSE(inputs.empty());
  for (const TSavedFuzzInput& input : inputs) {
    EXPECT_EQ(RunSavedFuzzInput(input), 0) << input.name;
  }
}

// A value that holds its own variable used to double the text with every
// pass, one pass per "?" of the text: forty variables never returned.
TEST(TMetaVariablesFuzzRegressionTest, ValuesHoldingTheirOwnVariableStopGrowing) {
  const struct {
    const char16_t* file;
    std::u16string variable;
  } cases[] = {
      {u"song.mp3", u"?i_tr?"},  // track numbers are never replaced
      {u"photo.jpg", u"?x_dto?"},
      {u"clip.avi", u"?v_len?"},
      {u"notes.txt", u"?temp?"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Utf16ToUtf8(c.variable));
    TFakeFileSystem fs;
    TFixedClock clock;
    TMapEnvironment env;
    TFakeTagReader tags;
    const std::u16string twice = c.variable + c.variable;
    tags.mp3[c.variable] = tags.exif[c.variable] = tags.video[c.variable] = twice;
    TMetaVariables vars(fs, clock, env, tags);
    vars.SetReplacement(u'?', u'?');  // a stand-in the settings allow
    vars.SetTempText(twice);
    RenameRecord rec;
    FillRenameRecordNames(rec, u"/m/", c.file, false, u"", u"");
    std::u16string text;
    for (int i = 0; i < 40; ++i) text += c.variable + u" ";

    const TExpansion e = vars.Expand(text, rec);
    EXPECT_TRUE(e.status.ok());
    EXPECT_GT(e.text.size(), 2 * text.size());  // the first passes still expand
    EXPECT_LT(e.text.size(), size_t{1} << 17);
    EXPECT_NE(e.text.find(c.variable), std::u16string::npos);  // the rest stands as written
  }
}

}  // namespace
