#include "config/UnitStartupState.h"

#include <gtest/gtest.h>

#include "config/UnitConfigTestSupport.h"
#include "model/UnitMainModel.h"
#include "support/UnitScriptTestContext.h"

namespace {

class TStartupStateTest : public ::testing::Test {
 protected:
  TScriptTestContext c;
  TMainModel model;
  TfrmConfig config{c.fs, kAppFolder, c.vars, model};
  void SetUp() override {
    c.fs.AddFile(kAppFolder + u"tw.ini", "");  // exists: no first run
    ASSERT_TRUE(config.LoadConfig().ok());
  }
};

TEST_F(TStartupStateTest, PlacesTheWindowOnlyOnScreen) {
  struct TCase {
    int x, y;
    TWindowPlacement::TKind kind;
  };
  const TCase cases[] = {
      {0, 0, TWindowPlacement::AtPosition},      {1919, 1079, TWindowPlacement::AtPosition},
      {-1, 10, TWindowPlacement::DefaultPlace},  {10, 1080, TWindowPlacement::DefaultPlace},
      {1920, 0, TWindowPlacement::DefaultPlace}, {10, -5, TWindowPlacement::DefaultPlace},
  };
  for (const TCase& t : cases) {
    config.SetLastPosition({t.x, t.y});
    const TWindowPlacement p = StartPlacement(config, {1920, 1080});
    EXPECT_EQ(p.kind, t.kind) << t.x << "," << t.y;
  }
  config.SetFlag(TSetting::RememberPosition, false);
  EXPECT_EQ(StartPlacement(config, {1920, 1080}).kind, TWindowPlacement::Centred);
  config.SetFlag(TSetting::OpenMaximized, true);
  EXPECT_EQ(StartPlacement(config, {1920, 1080}).kind, TWindowPlacement::Maximized);
  EXPECT_TRUE(StartPlacement(config, {1920, 1080}).applySize);
  EXPECT_EQ(StartPlacement(config, {1920, 1080}).size.x, 890);
}

TEST_F(TStartupStateTest, FirstRunIsCentred) {
  TScriptTestContext fresh;
  TMainModel m;
  TfrmConfig first(fresh.fs, kAppFolder, fresh.vars, m);
  ASSERT_TRUE(first.LoadConfig().ok());
  ASSERT_TRUE(first.IsFirstRun());
  EXPECT_EQ(StartPlacement(first, {1920, 1080}).kind, TWindowPlacement::Centred);
}

TEST_F(TStartupStateTest, BrowsePaneWidthAndVisibility) {
  const std::tuple<int, bool, int> cases[] = {
      {180, true, 180}, {11, true, 11}, {10, true, 200}, {-1, true, 200}, {180, false, 200}};
  for (const auto& [width, remember, expected] : cases) {
    config.SetLastBrowsePaneWidth(width);
    config.SetFlag(TSetting::RememberBrowserPane, remember);
    EXPECT_EQ(BrowsePaneStartWidth(config), expected) << width << " " << remember;
  }
  config.SetLastBrowsePaneVisible(true);
  EXPECT_FALSE(BrowsePaneStartVisible(config));  // "Browser Pane state" is off now
  config.SetFlag(TSetting::RememberBrowserPane, true);
  EXPECT_TRUE(BrowsePaneStartVisible(config));
}

TEST_F(TStartupStateTest, StartFolderFallsBackToParentThenAppFolder) {
  config.SetLastFolder(u"/photos/2013/");
  c.fs.AddFolder(u"/photos/2013/");
  c.fs.AddFolder(u"/photos/");
  EXPECT_EQ(U8(StartFolder(config, c.fs, kAppFolder)), "/photos/2013/");
  config.SetLastFolder(u"/photos/gone/");
  EXPECT_EQ(U8(StartFolder(config, c.fs, kAppFolder)), "/photos/");
  config.SetLastFolder(u"/gone/too/");
  EXPECT_EQ(U8(StartFolder(config, c.fs, kAppFolder)), "/app/");
  config.SetLastFolder(u"/photos/2013/");
  config.SetFlag(TSetting::DontUseLastFolder, true);
  EXPECT_EQ(U8(StartFolder(config, c.fs, kAppFolder)), "/app/");
}

}  // namespace
