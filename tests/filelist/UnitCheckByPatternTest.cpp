// Checking entries by a pattern on their file names.
#include "filelist/UnitCheckByPattern.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "filelist/UnitFileList.h"
#include "support/UnitFakeFileSystem.h"
#include "support/UnitFakeServices.h"

namespace {

class TCheckByPatternTest : public ::testing::Test {
 protected:
  // Rows: a.txt (checked), README, sub/b.TXT, c.jpg (checked), folder docs.txt.
  void SetUp() override {
    Add(u"a.txt", false, true);
    Add(u"README", false, false);
    Add(u"sub/b.TXT", false, false);
    Add(u"c.jpg", false, true);
    Add(u"docs.txt", true, false);
  }
  void Add(const std::u16string& caption, bool folder, bool checked) {
    TFileListData entry;
    entry.caption = caption;
    TTagData tag;
    tag.IsFolder = folder;
    list.AddEntry(std::move(entry), tag, checked);
  }
  // "1" per checked row, "0" per unchecked.
  std::string Checks() const {
    std::string checks;
    for (int row = 0; row < list.Count(); ++row) checks += list.GetChecked(row) ? '1' : '0';
    return checks;
  }

  TFakeFileSystem fs;
  TFixedClock clock;
  TFrmDummyShowPreview list{fs, clock};
};

TEST_F(TCheckByPatternTest, Actions) {
  struct Case {
    const char* name;
    TCheckPattern check;
    std::string expected;
  };
  const Case cases[] = {
      {"select only *.txt", {u"*.txt", TCheckAction::SelectOnly, false, false}, "10100"},
      {"select only with folders", {u"*.txt", TCheckAction::SelectOnly, true, false}, "10101"},
      {"select adds", {u"*.txt", TCheckAction::Select, false, false}, "10110"},
      {"clear", {u"*.jpg", TCheckAction::Clear, false, false}, "10000"},
      {"*.* takes names without extension", {u"*.*", TCheckAction::Select, false, false}, "11110"},
      {"whole name only", {u"a", TCheckAction::SelectOnly, false, false}, "00000"},
      {"regular expression", {u"(?i)^[a-c]\\.txt$", TCheckAction::SelectOnly, false, true}, "10100"},
  };
  for (const Case& c : cases) {
    for (int row = 0; row < list.Count(); ++row) list.SetChecked(row, row == 0 || row == 3);
    EXPECT_TRUE(CheckByPattern(list, c.check).ok()) << c.name;
    EXPECT_EQ(Checks(), c.expected) << c.name;
    EXPECT_EQ(list.GetCheckedCount(), static_cast<int>(std::count(c.expected.begin(), c.expected.end(), '1')))
        << c.name;
  }
}

TEST_F(TCheckByPatternTest, BrokenExpressionChangesNothing) {
  const TStatus status = CheckByPattern(list, {u"(", TCheckAction::SelectOnly, false, true});
  EXPECT_FALSE(status.ok());
  EXPECT_NE(status.reason().find(u"Error in Regular Expression"), std::u16string::npos);
  EXPECT_EQ(Checks(), "10010");
}

}  // namespace
