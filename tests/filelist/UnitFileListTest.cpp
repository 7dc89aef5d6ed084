// Checking, selection, reordering and row access of the file list.
#include "filelist/UnitFileList.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/UnitText.h"
#include "support/UnitFakeFileSystem.h"
#include "support/UnitFakeServices.h"

namespace {

class TFileListTest : public ::testing::Test {
 protected:
  // A list of the checked files "a".."e" and the unchecked folder "x".
  std::unique_ptr<TFrmDummyShowPreview> MakeList() {
    auto made = std::make_unique<TFrmDummyShowPreview>(fs, clock);
    for (const auto* name : {u"a", u"b", u"c", u"d", u"e"}) Add(*made, name, false, true);
    Add(*made, u"x", true, false);
    return made;
  }
  static void Add(TFrmDummyShowPreview& to, const std::u16string& caption, bool folder,
                  bool checked) {
    TFileListData entry;
    entry.caption = caption;
    TTagData tag;
    tag.IsFolder = folder;
    to.AddEntry(std::move(entry), tag, checked);
  }
  static std::string Order(const TFrmDummyShowPreview& of) {
    std::string order;
    for (int row = 0; row < of.Count(); ++row) order += Utf16ToUtf8(of.GetFileData(row)->GetName());
    return order;
  }
  static void Select(TFrmDummyShowPreview& in, const std::vector<int>& rows) {
    in.ClearAllSelected();
    for (const int row : rows) in.SetSelected(row);
  }

  TFakeFileSystem fs;
  TFixedClock clock;
  std::unique_ptr<TFrmDummyShowPreview> list = MakeList();
};

TEST_F(TFileListTest, CheckingReportsTheChangeAndKeepsTheCount) {
  EXPECT_EQ(list->GetCheckedCount(), 5);
  struct Step {
    const char* what;
    int (*run)(TFrmDummyShowPreview&);
    int result;
    int count;
  };
  const Step steps[] = {
      {"SetChecked(0, false)", [](TFrmDummyShowPreview& l) { return l.SetChecked(0, false); }, -1, 4},
      {"again", [](TFrmDummyShowPreview& l) { return l.SetChecked(0, false); }, 0, 4},
      {"SetChecked(0)", [](TFrmDummyShowPreview& l) { return l.SetChecked(0); }, 1, 5},
      {"again", [](TFrmDummyShowPreview& l) { return l.SetChecked(0); }, 0, 5},
      {"SetChecked(0, true)", [](TFrmDummyShowPreview& l) { return l.SetChecked(0, true); }, 0, 5},
      {"ToggleChecked(5)", [](TFrmDummyShowPreview& l) { return l.ToggleChecked(5); }, 1, 6},
      {"ToggleChecked(5)", [](TFrmDummyShowPreview& l) { return l.ToggleChecked(5); }, -1, 5},
      {"SetChecked(99, true)", [](TFrmDummyShowPreview& l) { return l.SetChecked(99, true); }, 0, 5},
      {"SetChecked(-1)", [](TFrmDummyShowPreview& l) { return l.SetChecked(-1); }, 0, 5},
      {"ToggleChecked(6)", [](TFrmDummyShowPreview& l) { return l.ToggleChecked(6); }, 0, 5},
  };
  for (const Step& step : steps) {
    EXPECT_EQ(step.run(*list), step.result) << step.what;
    EXPECT_EQ(list->GetCheckedCount(), step.count) << step.what;
  }
  EXPECT_EQ(list->GetFileData(5)->StateIndex(), 0);
  EXPECT_EQ(list->GetFileData(0)->StateIndex(), 1);
  EXPECT_FALSE(list->GetChecked(99));
}

TEST_F(TFileListTest, SelectedToggleCheckboxesTogglesOnlySelectedRows) {
  Select(*list, {1, 5});
  EXPECT_EQ(list->SelectedCount(), 2);
  EXPECT_EQ(list->SelectedRows(), (std::vector<int>{1, 5}));
  EXPECT_EQ(list->SelectedToggleCheckboxes(), 0);  // one off, one on
  EXPECT_FALSE(list->GetChecked(1));
  EXPECT_TRUE(list->GetChecked(5));
  EXPECT_EQ(list->GetCheckedCount(), 5);
  list->ToggleSelected(1);
  list->ToggleSelected(99);
  list->SetSelected(5);  // twice selected still counts once
  EXPECT_EQ(list->SelectedRows(), (std::vector<int>{5}));
  list->ClearSelected(5);
  EXPECT_EQ(list->SelectedCount(), 0);
  EXPECT_TRUE(list->SelectedRows().empty());
}

TEST_F(TFileListTest, ManualReorderingMovesSelectedRows) {
  using Move = void (TFrmDummyShowPreview::*)();
  struct Case {
    const char* name;
    std::vector<int> selected;
    Move move;
    std::string expected;
    std::vector<int> selectedAfter;
  };
  const Case cases[] = {
      {"up one", {2}, &TFrmDummyShowPreview::MoveUp, "acbdex", {1}},
      {"up at top", {0}, &TFrmDummyShowPreview::MoveUp, "abcdex", {0}},
      {"up several", {1, 3}, &TFrmDummyShowPreview::MoveUp, "badcex", {0, 2}},
      {"up several with top", {0, 3}, &TFrmDummyShowPreview::MoveUp, "abcdex", {0, 3}},
      {"up adjacent", {2, 3}, &TFrmDummyShowPreview::MoveUp, "acdbex", {1, 2}},
      {"down one", {2}, &TFrmDummyShowPreview::MoveDown, "abdcex", {3}},
      {"down at bottom", {5}, &TFrmDummyShowPreview::MoveDown, "abcdex", {5}},
      {"down several", {1, 3}, &TFrmDummyShowPreview::MoveDown, "acbedx", {2, 4}},
      {"down adjacent", {3, 4}, &TFrmDummyShowPreview::MoveDown, "abcxde", {4, 5}},
      {"top", {2, 4}, &TFrmDummyShowPreview::MoveTop, "ceabdx", {0, 1}},
      {"bottom", {0, 3}, &TFrmDummyShowPreview::MoveBottom, "bcexad", {4, 5}},
      {"nothing selected", {}, &TFrmDummyShowPreview::MoveTop, "abcdex", {}},
  };
  for (const Case& c : cases) {
    auto fresh = MakeList();
    Select(*fresh, c.selected);
    ((*fresh).*c.move)();
    EXPECT_EQ(Order(*fresh), c.expected) << c.name;
    EXPECT_EQ(fresh->SelectedRows(), c.selectedAfter) << c.name;
  }
}

TEST_F(TFileListTest, SwapKeepsEachEntryWithItsFlags) {
  list->SwapItems(0, 5);
  list->SwapItems(0, 99);
  list->SwapItems(-1, 2);
  EXPECT_EQ(Order(*list), "xbcdea");
  EXPECT_TRUE(list->IsFolder(0));
  EXPECT_FALSE(list->GetChecked(0));
  EXPECT_FALSE(list->IsFolder(5));
  EXPECT_EQ(list->GetTagData(0), list->GetTagDataAbsolute(5));
  EXPECT_EQ(list->GetFileData(0)->index, 5) << "index is the position when added";
  EXPECT_EQ(list->GetTagData(6), nullptr);
  EXPECT_EQ(list->GetTagDataAbsolute(6), nullptr);
  EXPECT_EQ(list->GetFileData(-1), nullptr);
}

TEST_F(TFileListTest, ColumnTextsAndFullNewName) {
  TFileListData entry;
  entry.caption = u"sub/photo.jpg";
  entry.SetNewName(u"01 photo.jpg");
  entry.SetSize(u"1,536");
  entry.SetType(u"JPG", false);
  entry.SetDate(u"2013-08-14");
  entry.SetDateCreated(u"2012-01-02");
  list->AddEntry(std::move(entry), TTagData(), true);
  const int row = list->Count() - 1;
  const std::u16string expected[] = {u"sub/photo.jpg", u"01 photo.jpg", u"1,536",
                                     u"JPG",           u"2013-08-14",   u"2012-01-02"};
  for (int column = 0; column < 6; ++column) {
    EXPECT_EQ(list->GetColumnText(row, column), expected[column]) << column;
  }
  EXPECT_EQ(list->GetColumnText(row, 6), u"");
  EXPECT_EQ(list->GetFullNewName(row), u"sub/01 photo.jpg");
  TFileListData folder;
  folder.SetType(u"ignored", true);
  EXPECT_EQ(folder.GetType(), u"<DIR>");
  EXPECT_EQ(folder.GetCustomValue(3), u"");
}

TEST_F(TFileListTest, ColSizeKeepsTheWidestText) {
  TFrmDummyShowPreview measured{fs, clock};
  measured.SetTextMeasure([](std::u16string_view text) { return static_cast<int>(text.size()); });
  TFileListData entry;
  entry.caption = u"a-rather-long-name.txt";  // 22
  entry.SetSize(u"1,536");                    // 5
  measured.AddEntry(std::move(entry), TTagData(), true);
  EXPECT_EQ(measured.GetColSize(0), 22 + 50);
  EXPECT_EQ(measured.GetColSize(2), 3 + 5 + 20);
  EXPECT_EQ(measured.GetColSize(-1), 0);
  EXPECT_EQ(measured.GetColSize(1000), 0);
}

}  // namespace
