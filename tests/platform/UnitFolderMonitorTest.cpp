#include "platform/UnitFolderMonitor.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/UnitText.h"
#include "support/UnitTempFolder.h"

namespace {

TEST(TFolderMonitorTest, ReportsTheFirstChangeOfTheFolderItselfOnce) {
  const TTempFolder temp;
  ::mkdir(temp.PathOf("sub").c_str(), 0755);
  TFolderMonitor monitor;
  monitor.SetFolder(Utf8ToUtf16(temp.Path()));
  ASSERT_GE(monitor.Descriptor(), 0);
  EXPECT_FALSE(monitor.TakeChange());
  temp.WriteFile("sub/inner", "x");  // a change in a sub-folder is none
  EXPECT_FALSE(monitor.TakeChange());
  temp.WriteFile("new", "x");
  EXPECT_TRUE(monitor.TakeChange());
  temp.WriteFile("again", "x");
  EXPECT_FALSE(monitor.TakeChange());  // one report per watch
  // The same folder is not watched again; another one is.
  monitor.SetFolder(Utf8ToUtf16(temp.Path()) + u"/");
  EXPECT_LT(monitor.Descriptor(), 0);
  monitor.SetFolder(Utf8ToUtf16(temp.PathOf("sub")));
  EXPECT_GE(monitor.Descriptor(), 0);
  monitor.Cancel();
  temp.WriteFile("sub/later", "x");
  EXPECT_FALSE(monitor.TakeChange());
  EXPECT_EQ(monitor.Folder(), Utf8ToUtf16(temp.PathOf("sub")) + u"/");
}

}  // namespace
