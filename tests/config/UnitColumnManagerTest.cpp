#include "config/UnitColumnManager.h"

#include <gtest/gtest.h>

#include "config/UnitColumnLayout.h"
#include "config/UnitColumnSizing.h"
#include "config/UnitConfig.h"
#include "config/UnitConfigTestSupport.h"
#include "model/UnitMainModel.h"
#include "support/UnitScriptTestContext.h"

namespace {

std::string Captions(const TColumnManager& columns) {
  std::string out;
  for (size_t i = 0; i < columns.Count(); ++i) out += (i ? "|" : "") + U8(columns.Caption(i));
  return out;
}

TEST(TColumnManagerTest, StartsWithTheSixStandardColumns) {
  const TColumnManager columns;
  EXPECT_EQ(Captions(columns), "[+] Name|New Name|Size|Type|Date Modified|Date Created");
  const TColumnType kinds[] = {COL_TYPE_NAME, COL_TYPE_NEWNAME, COL_TYPE_SIZE,
                               COL_TYPE_TYPE, COL_TYPE_DATE,    COL_TYPE_DATECREATED};
  const bool right[] = {false, false, true, false, true, true};
  for (size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(columns.KindOf(i), kinds[i]) << i;
    EXPECT_EQ(columns.Column(i).alignment == TColumnAlignment::Right, right[i]) << i;
    EXPECT_EQ(columns.RegistryPosition(i), i);
  }
  EXPECT_EQ(columns.SortColumn(), 0u);
  EXPECT_FALSE(columns.SortDescending());
  EXPECT_EQ(columns.IndexOfCaption(u"Modified"), 4u);
  EXPECT_EQ(columns.IndexOfCaption(u"Name"), 0u);  // "[+] Name" comes first
  EXPECT_EQ(columns.IndexOfCaption(u"nothing"), TColumnManager::npos);
}

TEST(TColumnManagerTest, HeaderClicksSortAndMarkTheCaption) {
  TColumnManager columns;
  EXPECT_FALSE(columns.HeaderClick(1));  // New Name: nothing changes
  EXPECT_EQ(Captions(columns), "[+] Name|New Name|Size|Type|Date Modified|Date Created");
  struct TStep {
    size_t click;
    const char* captions;
    bool descending;
  };
  const TStep steps[] = {
      {2, "Name|New Name|[-] Size|Type|Date Modified|Date Created", true},
      {3, "Name|New Name|Size|[-] Type|Date Modified|Date Created", true},
      {2, "Name|New Name|[+] Size|Type|Date Modified|Date Created", false},
      {0, "[-] Name|New Name|Size|Type|Date Modified|Date Created", true},
  };
  for (const TStep& s : steps) {
    EXPECT_TRUE(columns.HeaderClick(s.click));
    EXPECT_EQ(Captions(columns), s.captions) << s.click;
    EXPECT_EQ(columns.SortColumn(), s.click);
    EXPECT_EQ(columns.SortDescending(), s.descending) << s.click;
  }
  EXPECT_TRUE(columns.DirectionFlag(3));  // Type keeps its own flag
  EXPECT_FALSE(columns.HeaderClick(99));
}

TEST(TColumnManagerTest, CustomColumnsAreAddedReplacedAndDeletedByTitle) {
  TColumnManager columns;
  ASSERT_TRUE(columns.AddOrReplaceCustomColumn(u"Track", u"?i_tr?", SORT_AS_NUMBER).ok());
  ASSERT_TRUE(columns.AddOrReplaceCustomColumn(u"Artist", u"?i_ar?", SORT_AS_TEXT).ok());
  ASSERT_TRUE(columns.AddOrReplaceCustomColumn(u"Taken", u"?x_dt?", SORT_AS_DATE).ok());
  EXPECT_EQ(columns.Count(), 9u);
  EXPECT_EQ(columns.KindOf(6), COL_TYPE_CUSTOM);
  EXPECT_EQ(columns.Column(6).alignment, TColumnAlignment::Right);  // number
  EXPECT_EQ(columns.Column(7).alignment, TColumnAlignment::Left);
  EXPECT_EQ(columns.Column(7).tag, -1);
  // Replacing (the title ignores case) moves the column to the end, once.
  ASSERT_TRUE(columns.AddOrReplaceCustomColumn(u"TRACK", u"?i_tr?!", SORT_AS_TEXT).ok());
  EXPECT_EQ(Captions(columns),
            "[+] Name|New Name|Size|Type|Date Modified|Date Created|Artist|Taken|TRACK");
  EXPECT_EQ(columns.CustomCount(), 3u);
  // Every custom column still shows its own definition after the shift.
  for (size_t i = 6; i < columns.Count(); ++i) {
    const TCustomColumn* def = columns.CustomOfColumn(i);
    ASSERT_NE(def, nullptr) << i;
    EXPECT_EQ(U8(def->title), U8(columns.Column(i).title)) << i;
  }
  EXPECT_EQ(U8(columns.CustomOfColumn(8)->data), "?i_tr?!");
  EXPECT_EQ(columns.CustomOfColumn(8)->wrapper.columnType, SORT_AS_TEXT);
  // Deleting the sort column hands the sort back to Name.
  columns.HeaderClick(6);
  EXPECT_TRUE(columns.DeleteCustomColumn(u"artist"));
  EXPECT_FALSE(columns.DeleteCustomColumn(u"artist"));
  EXPECT_EQ(Captions(columns),
            "[+] Name|New Name|Size|Type|Date Modified|Date Created|Taken|TRACK");
  EXPECT_EQ(U8(columns.CustomOfColumn(7)->title), "TRACK");
  EXPECT_EQ(columns.CustomOfColumn(0), nullptr);
  // An unknown sort kind is text.
  ASSERT_TRUE(columns.AddOrReplaceCustomColumn(u"Odd", u"x", 7).ok());
  EXPECT_EQ(columns.Custom(columns.IndexOfCustom(u"odd")).wrapper.columnType, SORT_AS_TEXT);
}

TEST(TColumnManagerTest, RegistryPositionsAreBoundedAndReused) {
  TColumnManager columns;
  size_t added = 0;
  while (columns
             .AddOrReplaceCustomColumn(u"c" + IntToStr(static_cast<long long>(added)), u"",
                                       SORT_AS_TEXT)
             .ok()) {
    ++added;
    ASSERT_LT(added, 2000u);
  }
  EXPECT_EQ(added, TColumnManager::kMaxRegistry - 6);
  // A replacement frees its own position first; a deletion frees one too.
  EXPECT_TRUE(columns.AddOrReplaceCustomColumn(u"c5", u"again", SORT_AS_TEXT).ok());
  EXPECT_TRUE(columns.DeleteCustomColumn(u"c7"));
  EXPECT_TRUE(columns.AddOrReplaceCustomColumn(u"new", u"", SORT_AS_NUMBER).ok());
  EXPECT_LT(columns.RegistryPosition(columns.Count() - 1), TColumnManager::kMaxRegistry);
  EXPECT_FALSE(columns.DirectionFlag(columns.RegistryPosition(columns.Count() - 1)));
}

TEST(TColumnLayoutTest, SectionNamesDropSortPrefixesAndBlanks) {
  const std::pair<const char16_t*, const char*> cases[] = {
      {u"[+] Name", "Column_Name"},
      {u"[-] Name", "Column_Name"},
      {u"New Name", "Column_New_Name"},
      {u"Date Modified", "Column_Date_Modified"},
      {u"[-] Date Created", "Column_Date_Created"},
      {u"My  Column", "Column_My__Column"},
  };
  for (const auto& [caption, section] : cases) {
    EXPECT_EQ(U8(ColumnSectionName(caption)), section) << U8(caption);
  }
}

TEST(TColumnLayoutTest, RestoresWidthsAndOrder) {
  TColumnManager columns;
  ASSERT_TRUE(columns.AddOrReplaceCustomColumn(u"Track", u"?i_tr?", SORT_AS_NUMBER).ok());
  TColumnLayout layout;
  layout.Set({u"Column_Size", 55, 9});  // beyond the 7 columns: the last position
  layout.Set({u"Column_Name", -1, 2});  // -1 keeps the width
  layout.Set({u"column_track", 80, -1});
  columns.SetWidth(0, 123);
  RestoreColumnLayout(columns, layout);
  // Name went to 2 first; Size leaving position 1 afterwards moved it up.
  EXPECT_EQ(Captions(columns), "New Name|[+] Name|Type|Date Modified|Date Created|Track|Size");
  EXPECT_EQ(columns.Column(1).width, 123);
  EXPECT_EQ(columns.Column(6).width, 55);
  EXPECT_EQ(columns.Column(5).width, 80);
  // A stored layout brings back any order exactly, also past eleven columns.
  for (int i = 0; i < 8; ++i) {
    ASSERT_TRUE(columns.AddOrReplaceCustomColumn(u"x" + IntToStr(i), u"", 0).ok());
  }
  const std::string before = Captions(columns);
  TColumnLayout stored;
  StoreColumnLayout(columns, stored);
  TColumnManager fresh;
  for (const char16_t* t : {u"x3", u"Track", u"x0", u"x1", u"x2", u"x4", u"x5", u"x6", u"x7"}) {
    ASSERT_TRUE(fresh.AddOrReplaceCustomColumn(t, u"", 0).ok());
  }
  RestoreColumnLayout(fresh, stored);
  EXPECT_EQ(Captions(fresh), before);
}

TEST(TColumnSizingTest, FitScreenScalesOnlyTheShownColumns) {
  TColumnManager columns;
  const int autoWidths[] = {200, 200, 50, 80, 100, 100};
  for (size_t i = 0; i < 6; ++i) columns.SetAutoWidth(i, autoWidths[i]);
  TColumnVisibility visibility;
  visibility.type = false;
  ApplyFitScreen(columns, visibility, 1300);  // 650 shown: factor 2
  const int expected[] = {400, 400, 100, 0, 200, 200};
  for (size_t i = 0; i < 6; ++i) EXPECT_EQ(columns.Column(i).width, expected[i]) << i;
  ApplyFitScreen(columns, visibility, 1000);  // factor 1000/650, truncated
  EXPECT_EQ(columns.Column(0).width, 307);
  EXPECT_EQ(columns.Column(2).width, 76);
  // Visibility only touches the four optional columns.
  columns.SetWidth(0, 5);
  visibility = TColumnVisibility();
  visibility.size = false;
  ApplyColumnVisibility(columns, visibility);
  EXPECT_EQ(columns.Column(0).width, 5);
  EXPECT_EQ(columns.Column(2).width, 0);
  EXPECT_EQ(columns.Column(3).width, 80);
  // Nothing with a width: no division.
  TColumnManager empty;
  ApplyFitScreen(empty, TColumnVisibility(), 500);
  EXPECT_EQ(empty.Column(0).width, 0);
}

TEST(TColumnSizingTest, ChoosingAModeStoresItAndMirrorsColumnSizes) {
  TScriptTestContext c;
  TMainModel model;
  TfrmConfig config(c.fs, kAppFolder, c.vars, model);
  TColumnManager columns;
  for (size_t i = 0; i < 6; ++i) columns.SetAutoWidth(i, 100);
  const TColumnVisibility visibility;
  EXPECT_FALSE(ChooseColumnSizingMode(config, columns, visibility, SIZE_AUTO_WIDTH, 600));
  EXPECT_TRUE(ChooseColumnSizingMode(config, columns, visibility, SIZE_FIT_SCREEN, 1200));
  EXPECT_EQ(config.GetColumnButtonPressed(), 1);
  EXPECT_EQ(columns.Column(0).width, 200);
  EXPECT_FALSE(config.Flag(TSetting::RememberColumnSizes));
  columns.SetWidth(0, 42);
  EXPECT_TRUE(ChooseColumnSizingMode(config, columns, visibility, SIZE_USER_WIDTH, 1200));
  EXPECT_EQ(columns.Column(0).width, 42);  // user width keeps the widths
  EXPECT_TRUE(config.Flag(TSetting::RememberColumnSizes));
  EXPECT_TRUE(ChooseColumnSizingMode(config, columns, visibility, SIZE_AUTO_WIDTH, 1200));
  EXPECT_EQ(columns.Column(0).width, 100);
  EXPECT_FALSE(config.Flag(TSetting::RememberColumnSizes));
}

}  // namespace
