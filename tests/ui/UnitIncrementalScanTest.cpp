// The window on a folder that takes long to read: rows show before the scan
// ends, the large list comes out sorted, and a cancel in the middle of the
// scan leaves a list, a model and a window that agree and work on.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QThread>
#include <gtest/gtest.h>

#include <functional>

#include "cli/UnitCliServices.h"
#include "cli/UnitCommandOutput.h"
#include "filelist/UnitFileList.h"
#include "metadata/UnitFileTags.h"
#include "platform/UnitText.h"
#include "support/UnitFakeServices.h"
#include "support/UnitFaultyFileSystem.h"
#include "support/UnitTempFolder.h"
#include "ui/UnitFileListModel.h"
#include "ui/UnitFrmMain.h"
#include "ui/UnitIncrementalScan.h"
#include "ui/UnitQtText.h"

namespace {

// Lists `count` made-up files in the folder `slow`, last name first, pausing
// now and then as a slow disk would, and calls `onEntry` with each position.
class TSlowFolder : public TFaultyFileSystem {
 public:
  TSlowFolder(TFileSystem& target, std::u16string slow, int count)
      : TFaultyFileSystem(target), slow_(std::move(slow)), count_(count) {}
  std::function<void(int)> onEntry;

  TStatus ListFolder(const std::u16string& path, const TFolderVisitor& visit) override {
    if (path != slow_ && path != slow_ + u"/") return TFaultyFileSystem::ListFolder(path, visit);
    for (int i = 0; i < count_; ++i) {
      if (i % 250 == 0) QThread::msleep(2);
      if (onEntry) onEntry(i);
      TFolderEntry entry;
      entry.name = u"f" + IntToStr(count_ - 1 - i) + u".txt";
      entry.info.modified = 46000;
      if (!visit(entry)) break;
    }
    return TStatus();
  }

 private:
  std::u16string slow_;
  int count_;
};

// Above the size the window sorts in place, so the sort runs on its worker.
constexpr int kEntries = TIncrementalScan::kSortInPlaceBelow + 5000;

class TIncrementalScanTest : public ::testing::Test {
 protected:
  TIncrementalScanTest() {
    root = Utf8ToUtf16(temp.Path());
    env.values[u"TALLOWICK_HOME"] = root + u"/home";
    (void)disk->CreateFolderPath(root + u"/home");
    (void)disk->CreateFolderPath(root + u"/slow");
  }

  // The names of the list, top to bottom, are f0.txt, f1.txt, ... in natural order.
  static void ExpectSortedPrefix(TFrmMain& window, int count) {
    const TFrmDummyShowPreview& list = window.App().session.list;
    ASSERT_EQ(list.Count(), count);
    ASSERT_EQ(window.ListModel().rowCount(), count);
    const int offset = kEntries - count;  // a cut scan lists the highest numbers
    for (int row = 0; row < count; ++row) {
      ASSERT_EQ(list.GetFileData(row)->caption, u"f" + IntToStr(offset + row) + u".txt") << row;
    }
  }

  TTempFolder temp;
  std::u16string root;
  std::unique_ptr<TFileSystem> disk = NewPosixFileSystem();
  TSlowFolder fs{*disk, Utf8ToUtf16(temp.Path()) + u"/slow", kEntries};
  TFixedClock clock{46000};
  TMapEnvironment env;
  TFileTagReader tags{fs, u"/nowhere/debug"};
  TStringOutput output;
  TCliServices services{fs, clock, env, tags, output};
};

TEST_F(TIncrementalScanTest, RowsShowBeforeTheScanEndsAndEndSorted) {
  TFrmMain window(services);
  int code = 0;
  ASSERT_TRUE(window.Start({}, code));
  window.show();
  int listedAtFirstRows = -1;
  int shownAtFirstRows = -1;
  int reachedInScan = 0;
  fs.onEntry = [&](int i) { reachedInScan = i; };
  QObject::connect(&window.ListModel(), &QAbstractItemModel::rowsInserted, [&] {
    if (shownAtFirstRows >= 0) return;
    shownAtFirstRows = window.ListModel().rowCount();
    listedAtFirstRows = reachedInScan;
  });
  window.OpenFolder(root + u"/slow");
  ASSERT_GT(shownAtFirstRows, 0);
  EXPECT_LT(listedAtFirstRows, kEntries - 1);  // the scan was still reading
  EXPECT_LE(shownAtFirstRows, listedAtFirstRows + 1);
  ExpectSortedPrefix(window, kEntries);
  EXPECT_TRUE(window.StatusPanel(0).text().contains(QStringLiteral("[%1/0]").arg(kEntries)));
}

TEST_F(TIncrementalScanTest, CancelInTheMiddleLeavesAConsistentListThatWorksOn) {
  TFrmMain window(services);
  int code = 0;
  ASSERT_TRUE(window.Start({}, code));
  window.show();
  QAction* recursive = nullptr;
  for (QAction* action : window.findChildren<QAction*>()) {
    if (action->text() == QStringLiteral("Recursive Scan")) recursive = action;
  }
  ASSERT_NE(recursive, nullptr);
  // A second "Recursive Scan" while the scan runs cancels it; a refresh or
  // a preview asked meanwhile must not start inside it.
  fs.onEntry = [&](int i) {
    if (i != kEntries / 2) return;
    recursive->trigger();
    window.RefreshList();
    window.Preview();
  };
  window.OpenFolder(root + u"/slow");
  fs.onEntry = nullptr;
  EXPECT_EQ(window.StatusPanel(2).text(), QStringLiteral("Scan cancelled"));
  const int listed = window.App().session.list.Count();
  EXPECT_GE(listed, kEntries / 2);
  EXPECT_LT(listed, kEntries);
  ExpectSortedPrefix(window, listed);

  // The window is not left busy: a preview and a full refresh run.
  window.Preview();
  EXPECT_EQ(window.ListModel().index(0, TFileListModel::kNewName).data().toString(),
            ToQt(window.App().session.list.GetFileData(0)->caption));
  window.RefreshList();
  ExpectSortedPrefix(window, kEntries);
}

}  // namespace
