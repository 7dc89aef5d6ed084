// The window's columns, menus and meta-variable picker, offscreen: a custom
// column made through its dialog, sorted by number and kept across a
// restart; the picker inserting a variable with its format part; the tags
// of a photo; a shortcut from "menu.ini" on a menu item.
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "cli/UnitCliServices.h"
#include "cli/UnitCommandOutput.h"
#include "metadata/UnitFileTags.h"
#include "platform/UnitFileSystem.h"
#include "platform/UnitText.h"
#include "support/UnitFakeServices.h"
#include "support/UnitTempFolder.h"
#include "config/UnitColumnSizing.h"
#include "ui/UnitColumnController.h"
#include "ui/UnitDesktopTools.h"
#include "ui/UnitFileListModel.h"
#include "ui/UnitFileTagsWindow.h"
#include "ui/UnitFrmMain.h"
#include "ui/UnitMetaVariablePicker.h"
#include "ui/UnitScriptEditor.h"
#include "ui/UnitWindowParts.h"
#include "ui/UnitWindowTestBase.h"
#include "ui/UnitWindowTestSupport.h"

namespace {

class TDesktopToolsTest : public TWindowTestBase {
 protected:
  TDesktopToolsTest() {
    (void)fs->CreateFolderPath(root + u"/f");
    (void)fs->WriteWholeFile(root + u"/f/a", std::string(10, 'x'));
    (void)fs->WriteWholeFile(root + u"/f/b", std::string(9, 'x'));
    (void)fs->WriteWholeFile(root + u"/f/c", std::string(100, 'x'));
  }

  // The column texts of `section` from the top row down.
  static QStringList ColumnTexts(TFrmMain& window, int section) {
    QStringList texts;
    for (int row = 0; row < window.ListModel().rowCount(); ++row) {
      texts << window.ListModel().index(row, section).data().toString();
    }
    return texts;
  }

};

TEST_F(TDesktopToolsTest, ACustomColumnSortsByNumberAndOutlivesTheWindow) {
  constexpr int kCustom = TFileListModel::kColumnCount;
  {
    TFrmMain window(services);
    int code = 0;
    ASSERT_TRUE(window.Start({root + u"/f"}, code));
    window.show();
    WithNextDialog([](QWidget& dialog) {
      auto* save = dialog.findChild<QPushButton*>(QStringLiteral("btnSaveColumn"));
      EXPECT_FALSE(save->isEnabled());  // no title yet
      dialog.findChild<QLineEdit*>(QStringLiteral("txtColumnTitle"))->setText(QStringLiteral("Bytes"));
      dialog.findChild<QLineEdit*>(QStringLiteral("txtColumnData"))->setText(QStringLiteral("?zn?"));
      dialog.findChild<QComboBox*>(QStringLiteral("cbxType"))->setCurrentText(QStringLiteral("Number"));
      save->click();
    });
    QAction* newColumn = FindMenuItem(window, QStringLiteral("New Column ..."));
    ASSERT_NE(newColumn, nullptr);
    newColumn->trigger();
    ASSERT_EQ(window.ListModel().columnCount(), kCustom + 1);
    EXPECT_EQ(window.ListModel().headerData(kCustom, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral("Bytes"));
    EXPECT_EQ(ColumnTexts(window, kCustom), QStringList({"10", "9", "100"}));

    // By number, not as text (which would put "100" before "9").
    window.ListModel().sort(kCustom, Qt::AscendingOrder);
    EXPECT_EQ(ColumnTexts(window, kCustom), QStringList({"9", "10", "100"}));
    window.ListModel().sort(kCustom, Qt::DescendingOrder);
    EXPECT_EQ(ColumnTexts(window, kCustom), QStringList({"100", "10", "9"}));

    auto* controller = window.findChild<TColumnController*>();
    ASSERT_NE(controller, nullptr);
    controller->SetVisible(COL_TYPE_TYPE, false);
    // User widths and the order the user dragged come back after a restart.
    controller->ChooseSizing(SIZE_USER_WIDTH);
    QHeaderView* header = window.findChild<QTableView*>(QStringLiteral("fileList"))->horizontalHeader();
    header->resizeSection(TFileListModel::kName, 333);
    header->moveSection(header->visualIndex(kCustom), 1);
    window.close();
  }
  TFrmMain window(services);
  int code = 0;
  ASSERT_TRUE(window.Start({root + u"/f"}, code));
  window.Preview();
  ASSERT_EQ(window.ListModel().columnCount(), kCustom + 1);
  EXPECT_EQ(ColumnTexts(window, kCustom), QStringList({"10", "9", "100"}));
  const QHeaderView* header = window.findChild<QTableView*>(QStringLiteral("fileList"))->horizontalHeader();
  EXPECT_TRUE(header->isSectionHidden(TFileListModel::kType));
  EXPECT_FALSE(header->isSectionHidden(TFileListModel::kSize));
  EXPECT_EQ(header->sectionSize(TFileListModel::kName), 333);
  EXPECT_EQ(header->visualIndex(kCustom), 1);

  // Deleting it removes the column and disables the empty Delete menu.
  QAction* remove = FindMenuItem(window, QStringLiteral("Bytes"));
  ASSERT_NE(remove, nullptr);
  window.findChild<TColumnController*>()->DeleteColumn(u"Bytes");
  EXPECT_EQ(window.ListModel().columnCount(), kCustom);
  EXPECT_FALSE(window.findChild<QMenu*>(QStringLiteral("mnuDeleteCustomColumn"))->isEnabled());
}

TEST_F(TDesktopToolsTest, FitScreenFollowsTheListWidthASecondAfterAResize) {
  TFrmMain window(services);
  int code = 0;
  ASSERT_TRUE(window.Start({root + u"/f"}, code));
  window.resize(700, 400);
  window.show();
  window.findChild<TColumnController*>()->ChooseSizing(SIZE_FIT_SCREEN);
  QTest::qWait(1200);
  const QHeaderView* header =
      window.findChild<QTableView*>(QStringLiteral("fileList"))->horizontalHeader();
  const int narrow = header->sectionSize(TFileListModel::kName);
  window.resize(1400, 400);
  QTest::qWait(200);
  EXPECT_EQ(header->sectionSize(TFileListModel::kName), narrow);  // still resizing
  QTest::qWait(1200);
  EXPECT_GT(header->sectionSize(TFileListModel::kName), narrow * 3 / 2);
}

TEST_F(TDesktopToolsTest, ThePickerInsertsTheChosenVariableWithItsFormatPart) {
  EXPECT_EQ(WithFormatPart(u"?dmo?", u"FYYYY"), u"?dmo:FYYYY?");
  EXPECT_EQ(WithFormatPart(u"?dmo?", u""), u"?dmo?");

  TFrmMain window(services);
  int code = 0;
  ASSERT_TRUE(window.Start({root + u"/f"}, code));
  auto* view = window.findChild<QTableView*>(QStringLiteral("fileList"));
  view->setCurrentIndex(window.ListModel().index(2, 0));  // c, 100 bytes
  QLineEdit edit;
  edit.setText(QStringLiteral("x"));
  QString shownValue;
  WithNextDialog([&shownValue](QWidget& dialog) {
    auto& picker = dynamic_cast<TFrmMetaVariables&>(dialog);
    picker.ShowFamily(u"file dates");
    ASSERT_TRUE(picker.SelectVariable(u"?dmo?"));
    picker.FormatBox().setText(QStringLiteral("FYYYY"));
    shownValue = picker.ValueLabel().text();
    dialog.findChild<QPushButton*>(QStringLiteral("btnInsert"))->click();
  });
  const TWindowParts parts{window, window.App(), *view, window.ListModel(),
                           window.ScriptEditor().StepEditor(), window.StatusPanel(2), [] {}};
  OpenMetaVariablePicker(parts, TInsertAction::PickerProperties, &edit);
  EXPECT_EQ(edit.text(), QStringLiteral("x?dmo:FYYYY?"));
  // The value for the selected file goes through the format part: a year alone.
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^20\\d\\d$")).match(shownValue).hasMatch())
      << shownValue.toStdString();
}

TEST_F(TDesktopToolsTest, FileTagsListTheTagsOfTheSelectedPhoto) {
  std::string photo;
  ASSERT_TRUE(fs->ReadWholeFile(Utf8ToUtf16(TALLOWICK_TEST_DATA "/metadata/color-ii.jpg"), photo).ok());
  (void)fs->WriteWholeFile(root + u"/f/d.jpg", photo);
  TFrmMain window(services);
  int code = 0;
  ASSERT_TRUE(window.Start({root + u"/f"}, code));
  window.findChild<QTableView*>(QStringLiteral("fileList"))
      ->setCurrentIndex(window.ListModel().index(3, 0));  // d.jpg
  int jpegTags = 0;
  WithNextDialog([&jpegTags](QWidget& dialog) {
    QTreeWidget& found = dynamic_cast<TFrmFileTags&>(dialog).Tags();
    for (int i = 0; i < found.topLevelItemCount(); ++i) {
      if (found.topLevelItem(i)->text(0) == QStringLiteral("JPEG")) ++jpegTags;
    }
    dialog.close();
  });
  window.findChild<QAction*>(QStringLiteral("mnuFileTags"))->trigger();
  EXPECT_GT(jpegTags, 0);
}

TEST_F(TDesktopToolsTest, MenuIniSetsShortcutsAndIsWrittenWhenMissing) {
  {
    TFrmMain window(services);
    int code = 0;
    ASSERT_TRUE(window.Start({root + u"/f"}, code));
  }
  std::string written;
  ASSERT_TRUE(fs->ReadWholeFile(root + u"/home/menu.ini", written).ok());
  EXPECT_NE(written.find("mnuPreview=F5"), std::string::npos) << written;

  ASSERT_TRUE(fs->WriteWholeFile(root + u"/home/menu.ini",
                                 "[shortcuts]\nmnuPreview=shift+ctrl+p\nmnuRefresh=none\n"
                                 "mnuRename=NoSuchKey\n")
                  .ok());
  TFrmMain window(services);
  int code = 0;
  ASSERT_TRUE(window.Start({root + u"/f"}, code));
  EXPECT_EQ(FindMenuItem(window, QStringLiteral("Preview"))->shortcut(),
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
  EXPECT_EQ(FindMenuItem(window, QStringLiteral("Refresh"))->shortcut(),
            QKeySequence(QKeySequence::Refresh));
  EXPECT_TRUE(FindMenuItem(window, QStringLiteral("Rename"))->shortcut().isEmpty());
}

}  // namespace
