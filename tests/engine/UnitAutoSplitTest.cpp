#include "engine/UnitAutoSplit.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/UnitScriptStepMove.h"
#include "platform/UnitText.h"
#include "support/UnitScriptTestContext.h"

namespace {

std::string Narrow(std::u16string_view text) { return Utf16ToUtf8(text); }

// An in-memory file list: names with a checked flag each.
class TListSource : public TAutoSplitSource {
 public:
  struct TEntry {
    std::u16string name;
    bool checked = true;
  };
  explicit TListSource(std::vector<TEntry> entries) : entries_(std::move(entries)) {}
  int Count() const override { return static_cast<int>(entries_.size()); }
  bool IsChecked(int index) const override { return entries_[static_cast<size_t>(index)].checked; }
  std::u16string Name(int index) const override { return entries_[static_cast<size_t>(index)].name; }

 private:
  std::vector<TEntry> entries_;
};

TEST(TAutoSplitTest, Shape) {
  struct Case {
    const char16_t* name;
    const char16_t* shape;
  } cases[] = {
      {u"01 - Them Bones.mp3", u"[0-9] - *"},
      {u"Track01.mp3", u"*[0-9]"},
      {u"a b c.mp3", u"* *"},                  // " A A" merges only after a space
      {u"x a b c.mp3", u"* *"},
      {u"01 02 03.mp3", u"[0-9] [0-9]"},       // "0 0 0": the first rule applies once
      {u"a  b.mp3", u"*  *"},                  // two spaces do not merge
      {u"trailing .mp3", u"*"},                // trailing blanks removed
      {u"a_b-c.mp3", u"*_*-*"},
      {u"Caf\u00e9 1.mp3", u"*\u00e9 [0-9]"},  // only A-Z and a-z are letters
      {u"x.mp3", u"*"},
      {u".mp3", u""},
      {u"", u""},
      {u"photo 12.jpeg", u"* [0-9]"},          // the extension as counted, any length
      {u"no extension 7", u"* [0-9]"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TAutoSplit::Shape(c.name), c.shape) << Narrow(c.name);
  }
}

TEST(TAutoSplitTest, MostFrequentExtensionThenShape) {
  struct Case {
    const char* what;
    std::vector<TListSource::TEntry> entries;
    const char16_t* mask;
  } cases[] = {
      {"mostly mp3",
       {{u"a.jpg"}, {u"01 - One.mp3"}, {u"b.jpg"}, {u"02 - Two Words.mp3"}, {u"Song 3.mp3"},
        {u"04 - Four.mp3"}},
       u"[0-9] - *.mp3"},
      {"unchecked entries do not count",
       {{u"a.jpg"}, {u"b.jpg"}, {u"1.mp3", false}, {u"2.mp3", false}, {u"3.mp3", false}},
       u"*.jpg"},
      {"tie: the extension that reached the count first",
       {{u"a.mp3"}, {u"1.jpg"}, {u"2.jpg"}, {u"b.mp3"}}, u"[0-9].jpg"},
      {"tie: the shape that reached the count first",
       {{u"a1.mp3"}, {u"1a.mp3"}, {u"1b.mp3"}, {u"b1.mp3"}}, u"[0-9]*.mp3"},
      {"extensions compare exactly", {{u"A1.MP3"}, {u"b.mp3"}, {u"c.mp3"}, {u"2.MP3"}}, u"*.mp3"},
      {"nothing checked", {{u"a.mp3", false}}, u""},
      {"empty list", {}, u""},
      {"no extensions", {{u"abc 1"}, {u"de 2"}}, u"* [0-9]"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TAutoSplit().GetWildcardExpression(TListSource(c.entries)), c.mask) << c.what;
  }
}

TEST(TAutoSplitTest, FormForMask) {
  struct Case {
    const char16_t* mask;
    const char16_t* form;
  } cases[] = {
      {u"[0-9] - *.mp3", u"$1 - $2.mp3"},
      {u"[a-z]x[0-9]*", u"$1x$2$3"},
      {u"plain.txt", u"plain.txt"},
      {u"", u""},
      // From the tenth part on, braces keep a following digit out of the number.
      {u"*-*-*-*-*-*-*-*-*-*-*", u"$1-$2-$3-$4-$5-$6-$7-$8-$9-${10}-${11}"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TAutoSplit::FormForMask(c.mask), c.form) << Narrow(c.mask);
  }
}

// The proposed mask and form rebuild each name of the list's main shape.
TEST(TAutoSplitTest, AutoSplitStepFillsAStepThatKeepsTheNames) {
  const std::u16string names[] = {u"01 - Them Bones.mp3", u"1-2-3-4-5-6-7-8-9-10-11.txt",
                                  u"photo 12.jpeg"};
  for (const std::u16string& fileName : names) {
    TScriptStepSplitAndMove step;
    AutoSplitStep(step, TListSource({{fileName}}));
    TScriptTestContext t;
    std::u16string name;
    std::u16string ext;
    SplitNameAndExtension(fileName, name, ext);
    ext = u"." + ext;
    RenameRecord rec = TestRecord(fileName);
    step.Execute(name, ext, rec, t.ctx);
    EXPECT_EQ(name + ext, fileName) << Narrow(step.Text(TScriptStepSplitAndMove::txtFilemask))
                                    << " / " << Narrow(step.Text(TScriptStepSplitAndMove::txtMove));
  }
  TScriptStepSplitAndMove step;
  AutoSplitStep(step, TListSource({{u"01 - Them Bones.mp3"}}));
  EXPECT_EQ(step.Text(TScriptStepSplitAndMove::txtFilemask), u"[0-9] - *.mp3");
  EXPECT_EQ(step.Text(TScriptStepSplitAndMove::txtMove), u"$1 - $2.mp3");
}

TEST(TAutoSplitTest, LongNamesStayFast) {
  std::u16string longName;
  for (int i = 0; i < 5000; ++i) longName += u"a ";
  EXPECT_EQ(TAutoSplit::Shape(longName + u".mp3"), u"*");
  EXPECT_EQ(TAutoSplit::Shape(u"0 " + longName + u".mp3"), u"[0-9] *");
}

}  // namespace
