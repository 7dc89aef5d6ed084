// The real window, offscreen, driven through its widgets as a person would:
// open a folder, add a step from the menu, type its parameter, see the new
// names and the status line, rename, see a collision, answer the error
// dialog both ways, undo.
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/UnitCliServices.h"
#include "cli/UnitCommandOutput.h"
#include "metadata/UnitFileTags.h"
#include "platform/UnitFileSystem.h"
#include "platform/UnitText.h"
#include "rename/UnitRenameJournal.h"
#include "support/UnitFakeServices.h"
#include "support/UnitRenameRunFixture.h"
#include "support/UnitTempFolder.h"
#include "ui/UnitFileListModel.h"
#include "ui/UnitFolderTreePane.h"
#include "ui/UnitFrmMain.h"
#include "ui/UnitQtText.h"
#include "ui/UnitScriptEditor.h"
#include "ui/UnitStepEditor.h"
#include "ui/UnitStepLayout.h"
#include "engine/UnitScriptStepFactory.h"
#include "engine/UnitScriptStep.h"
#include "ui/UnitWindowTestBase.h"
#include "ui/UnitWindowTestSupport.h"

namespace {

// Reads the text of the next message box once it shows and closes it.
void ReadNextMessage(QString& text) {
  WithNextDialog([&text](QWidget& dialog) {
    auto* box = qobject_cast<QMessageBox*>(&dialog);
    ASSERT_NE(box, nullptr);
    text = box->text();
    box->accept();
  });
}

// The open editor of the list's name cell.
QLineEdit* OpenEditor(QTableView& view) {
  for (QLineEdit* editor : view.viewport()->findChildren<QLineEdit*>(QStringLiteral("quickEdit"))) {
    if (editor->isVisible()) return editor;
  }
  return nullptr;
}

class TFrmMainTest : public TWindowTestBase {
 protected:
  TFrmMainTest() {
    Populate(*fs, root + u"/f", {{u"a1", u""}, {u"a2", u""}, {u"keep", u""}});
  }

  QString NewName(TFrmMain& window, int row) {
    return window.ListModel().index(row, TFileListModel::kNewName).data().toString();
  }

};

TEST_F(TFrmMainTest, PreviewRenameCollisionAndUndoThroughTheWidgets) {
  TFrmMain window(services);
  int code = 0;
  ASSERT_TRUE(window.Start({root + u"/f"}, code));
  window.show();
  EXPECT_EQ(window.ListModel().rowCount(), 3);
  AddFindAndReplace(window, QStringLiteral("a"), QStringLiteral("b"));
  window.Preview();
  EXPECT_EQ(NewName(window, 0), QStringLiteral("b1"));
  EXPECT_EQ(NewName(window, 1), QStringLiteral("b2"));
  EXPECT_TRUE(window.StatusPanel(0).text().contains(QStringLiteral("Changed [2]")));

  window.Rename();
  EXPECT_TRUE(fs->Exists(root + u"/f/b1"));
  EXPECT_TRUE(fs->Exists(root + u"/f/b2"));

  // Undo through its dialog.
  AnswerNextDialog("Yes");
  window.Undo();
  EXPECT_TRUE(fs->Exists(root + u"/f/a1"));
  EXPECT_FALSE(fs->Exists(root + u"/f/b1"));

  // A new name that another entry holds is drawn in the collision colour.
  (void)fs->WriteWholeFile(root + u"/f/b1", "taken");
  window.RefreshList();
  window.Preview();
  const QModelIndex a1 = window.ListModel().index(0, TFileListModel::kNewName);
  EXPECT_EQ(a1.data(Qt::ForegroundRole).value<QColor>(), window.ListModel().Colours().collision);
  EXPECT_TRUE(window.StatusPanel(1).text().contains(QStringLiteral("COLLISIONS [1]")));
}

TEST_F(TFrmMainTest, TheErrorDialogIgnoresOrStopsAndUndoes) {
  for (const char* answer : {"ignoreErrors", "stopAndUndo"}) {
    TTempFolder here;
    const std::u16string folder = Utf8ToUtf16(here.Path());
    Populate(*fs, folder, {{u"a1", u""}, {u"a2", u""}, {u"b1", u""}});
    TFrmMain window(services);
    int code = 0;
    ASSERT_TRUE(window.Start({folder}, code));
    for (int row = 0; row < window.App().session.list.Count(); ++row) {
      if (window.App().session.list.GetFileData(row)->caption == u"b1") {  // stays where it is
        window.App().session.list.SetChecked(row, false);
      }
    }
    AddFindAndReplace(window, QStringLiteral("a"), QStringLiteral("b"));
    AnswerNextDialog(answer);
    window.Rename();
    const bool stopped = std::string(answer) == "stopAndUndo";
    EXPECT_TRUE(fs->Exists(folder + u"/a1")) << answer;  // its new name is taken
    EXPECT_EQ(fs->Exists(folder + u"/a2"), stopped) << answer;
    EXPECT_EQ(fs->Exists(folder + u"/b2"), !stopped) << answer;
  }
}

TEST_F(TFrmMainTest, AChangeByAnotherProgramAsksOnceToRefresh) {
  TFrmMain window(services);
  int code = 0;
  ASSERT_TRUE(window.Start({root + u"/f"}, code));
  window.show();
  QApplication::processEvents();
  ASSERT_GE(window.Monitor().Descriptor(), 0);
  (void)fs->WriteWholeFile(root + u"/f/new", "x");
  AnswerNextDialog("Yes");
  for (int i = 0; i < 1000 && window.ListModel().rowCount() < 4; ++i) {
    QApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(10);
  }
  EXPECT_EQ(window.ListModel().rowCount(), 4);
  // The refresh shows the same folder: it is not watched again.
  EXPECT_LT(window.Monitor().Descriptor(), 0);
}

// A run cut short left its journal with a1 under its new name: the start
// asks; declined, everything stays for the next start; accepted, a1 is back
// and the journal gone before the window opens.
TEST_F(TFrmMainTest, AJournalLeftOverIsOfferedForRecoveryAtStart) {
  const std::u16string old = root + u"/f/a1";
  const std::u16string moved = root + u"/f/z1.TW_TEMPNAME";
  ASSERT_TRUE(fs->RenameNoReplace(old, moved).ok());
  for (const char* answer : {"No", "Yes"}) {
    TFrmMain window(services);
    TRenameJournal journal(*fs, window.App().store.Folder() + u"/");
    (void)fs->CreateFolderPath(window.App().store.Folder());
    if (!journal.Exists()) {
      TJournal plan;
      plan.kind = u"rename";
      plan.entries.push_back({old, {moved}, IdentityOf(*fs, moved)});
      ASSERT_TRUE(journal.Write(plan).ok());
    }
    AnswerNextDialog(answer);
    AnswerNextDialog("OK", 400);  // the report
    int code = 0;
    const bool started = window.Start({root + u"/f"}, code);
    const bool accepted = std::string(answer) == "Yes";
    EXPECT_EQ(started, accepted) << answer;
    EXPECT_EQ(fs->Exists(old), accepted) << answer;
    EXPECT_EQ(fs->Exists(moved), !accepted) << answer;
    EXPECT_EQ(journal.Exists(), !accepted) << answer;
  }
}

// The window's undo is journaled: when the journal cannot be written nothing
// moves and the batch stays stored for the next try.
TEST_F(TFrmMainTest, AnUndoThatCannotBeJournaledMovesNothing) {
  TFrmMain window(services);
  int code = 0;
  ASSERT_TRUE(window.Start({root + u"/f"}, code));
  AddFindAndReplace(window, QStringLiteral("a"), QStringLiteral("b"));
  window.Preview();
  window.Rename();
  ASSERT_TRUE(fs->Exists(root + u"/f/b1"));
  const std::u16string journal =
      window.App().store.Folder() + u"/" + std::u16string(TRenameJournal::kFileName);
  ASSERT_TRUE(fs->CreateFolderPath(journal + u"/blocked").ok());  // a folder where it goes
  AnswerNextDialog("Yes");
  AnswerNextDialog("OK", 400);
  window.Undo();
  EXPECT_TRUE(fs->Exists(root + u"/f/b1"));
  EXPECT_FALSE(fs->Exists(root + u"/f/a1"));
  ASSERT_TRUE(fs->RemoveEmptyFolder(journal + u"/blocked").ok());
  ASSERT_TRUE(fs->RemoveEmptyFolder(journal).ok());
  AnswerNextDialog("Yes");
  window.Undo();
  EXPECT_TRUE(fs->Exists(root + u"/f/a1"));
  EXPECT_FALSE(fs->Exists(journal));
}

// A preset of "filter.ini" applies at once; typed text waits for the pause
// after the last key.
TEST_F(TFrmMainTest, FilterPresetsApplyAtOnceAndTypingWaits) {
  ASSERT_TRUE(fs->WriteWholeFile(root + u"/home/filter.ini", "[Filter]\nOnly a=a*\n").ok());
  TFrmMain window(services);
  int code = 0;
  ASSERT_TRUE(window.Start({root + u"/f"}, code));
  auto* presets = window.findChild<QToolButton*>(QStringLiteral("filterPresets"));
  ASSERT_NE(presets, nullptr);
  QStringList captions;
  for (QAction* action : presets->menu()->actions()) {
    captions << action->text();
    if (action->text() == QStringLiteral("Only a")) action->trigger();
  }
  ASSERT_TRUE(captions.contains(QStringLiteral("Only a"))) << captions.join(u',').toStdString();
  EXPECT_EQ(window.ListModel().rowCount(), 2);

  auto* filter = window.findChild<QLineEdit*>(QStringLiteral("filter"));
  filter->setText(QStringLiteral("k*"));
  emit filter->textEdited(filter->text());
  EXPECT_EQ(window.ListModel().rowCount(), 2);  // not yet
  for (int i = 0; i < 1000 && window.ListModel().rowCount() != 1; ++i) {
    QApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(10);
  }
  EXPECT_EQ(window.ListModel().rowCount(), 1);
}

// The folder box offers the folders shown before, newest first and each once,
// in the next run too.
TEST_F(TFrmMainTest, RecentFoldersOutliveTheRun) {
  (void)fs->CreateFolderPath(root + u"/g");
  {
    TFrmMain window(services);
    int code = 0;
    ASSERT_TRUE(window.Start({root + u"/f"}, code));
    window.show();
    window.OpenFolder(root + u"/g");
    window.OpenFolder(root + u"/f");
    window.close();
  }
  TFrmMain window(services);
  int code = 0;
  ASSERT_TRUE(window.Start({root + u"/g"}, code));
  auto* box = window.findChild<QComboBox*>(QStringLiteral("folderBox"));
  QStringList items;
  for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
  EXPECT_EQ(items, (QStringList{ToQt(root + u"/g"), ToQt(root + u"/f")}));
}

// Ctrl+Down moves the selected entry one down, stays selected and numbers
// follow the new order; Ctrl+Shift+Up takes it to the top.
TEST_F(TFrmMainTest, SelectedEntriesMoveByKeys) {
  TFrmMain window(services);
  int code = 0;
  ASSERT_TRUE(window.Start({root + u"/f"}, code));
  window.show();
  auto* view = window.findChild<QTableView*>(QStringLiteral("fileList"));
  const auto captions = [&] {
    QStringList names;
    for (int row = 0; row < window.ListModel().rowCount(); ++row) {
      names << window.ListModel().index(row, TFileListModel::kName).data().toString();
    }
    return names;
  };
  ASSERT_EQ(captions(), (QStringList{"a1", "a2", "keep"}));
  QApplication::setActiveWindow(&window);
  view->setFocus();
  view->selectRow(0);
  QTest::keyClick(view, Qt::Key_Down, Qt::ControlModifier);
  EXPECT_EQ(captions(), (QStringList{"a2", "a1", "keep"}));
  QTest::keyClick(view, Qt::Key_Down, Qt::ControlModifier);
  EXPECT_EQ(captions(), (QStringList{"a2", "keep", "a1"}));
  QTest::keyClick(view, Qt::Key_Up, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(captions(), (QStringList{"a1", "a2", "keep"}));
  EXPECT_EQ(view->selectionModel()->selectedRows().size(), 1);
  EXPECT_EQ(view->selectionModel()->selectedRows().front().row(), 0);
}

TEST_F(TFrmMainTest, AHeaderClickSortsAndMarksTheCaptionUntilEntriesAreMoved) {
  TFrmMain window(services);
  int code = 0;
  ASSERT_TRUE(window.Start({root + u"/f"}, code));
  window.show();
  auto* view = window.findChild<QTableView*>(QStringLiteral("fileList"));
  QAbstractItemModel& model = window.ListModel();
  const auto caption = [&](int column) { return model.headerData(column, Qt::Horizontal).toString(); };
  EXPECT_EQ(caption(TFileListModel::kName), QStringLiteral("[+] Name"));
  EXPECT_EQ(caption(TFileListModel::kSize), QStringLiteral("Size"));
  QHeaderView* header = view->horizontalHeader();
  const QPoint nameHeader(header->sectionViewportPosition(TFileListModel::kName) + 5, 5);
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, nameHeader);
  EXPECT_EQ(caption(TFileListModel::kName), QStringLiteral("[-] Name"));
  EXPECT_EQ(model.index(0, TFileListModel::kName).data().toString(), QStringLiteral("keep"));
  view->selectRow(0);
  QApplication::setActiveWindow(&window);
  view->setFocus();
  QTest::keyClick(view, Qt::Key_Down, Qt::ControlModifier);
  EXPECT_EQ(caption(TFileListModel::kName), QStringLiteral("Name"));
}

// Every kind's editor reads as its sentence: each parameter placed once
// among the labels, none left over to the fallback lines at the end.
TEST(TStepEditorTest, EveryKindPlacesEachParameterInItsSentence) {
  for (int ordinal = 0; ordinal < kScriptTypeCount; ++ordinal) {
    const auto step = NewScriptStep(static_cast<TScriptType>(ordinal));
    std::vector<int> seen(step->Parameters().size(), 0);
    bool labelled = false;
    for (const TLayoutLine& line : EditorLines(*step)) {
      for (const TLayoutPiece& piece : line) {
        if (piece.parameter >= 0) ++seen[static_cast<size_t>(piece.parameter)];
        labelled = labelled || piece.parameter < 0;
      }
      EXPECT_FALSE(line.size() == 1 && line[0].parameter >= 0 &&
                   step->Parameters()[static_cast<size_t>(line[0].parameter)].kind !=
                       TParamKind::Flag)
          << "TYPE " << ordinal << ": a control left without its label";
    }
    EXPECT_EQ(seen, std::vector<int>(seen.size(), 1)) << "TYPE " << ordinal;
    EXPECT_TRUE(labelled) << "TYPE " << ordinal;
  }
}

// After a run over a recursive list with one failure skipped: exactly the
// renamed entries stay checked, and Yes to the question lists recursively again.
TEST_F(TFrmMainTest, ARenameChecksWhatMovedAndOffersTheRecursiveListAgain) {
  ASSERT_TRUE(fs->CreateFolderPath(root + u"/f/s").ok());
  ASSERT_TRUE(fs->WriteWholeFile(root + u"/f/s/a3", "").ok());
  ASSERT_TRUE(fs->WriteWholeFile(root + u"/f/b2", "").ok());
  TFrmMain window(services);
  int code = 0;
  ASSERT_TRUE(window.Start({root + u"/f"}, code));
  window.RefreshList(true);
  AddFindAndReplace(window, QStringLiteral("a"), QStringLiteral("b"));
  AnswerNextDialog("ignoreErrors");  // a2: b2 is taken
  AnswerNextDialog("Yes", 400);      // show the recursive list again
  window.Rename();
  QStringList checked;
  const TFrmDummyShowPreview& list = window.App().session.list;
  for (int row = 0; row < list.Count(); ++row) {
    if (list.GetChecked(row)) checked << ToQt(list.GetFileData(row)->caption);
  }
  checked.sort();
  EXPECT_EQ(checked, (QStringList{"b1", "s/b3"}));
  EXPECT_TRUE(list.ListIsRecursive());
  EXPECT_TRUE(fs->Exists(root + u"/f/a2"));
}

// Rows dragged to a new place land, in their order, before the row they are
// dropped on (or at the end), stay selected, and no column is the sort order.
TEST_F(TFrmMainTest, DraggedRowsMoveWhereTheyAreDropped) {
  struct TCase {
    QList<int> dragged;
    int row;
    QStringList order;
  };
  const TCase cases[] = {{{0, 2}, 1, {"a1", "keep", "a2"}},
                         {{0}, -1, {"a2", "keep", "a1"}},
                         {{2}, 0, {"keep", "a1", "a2"}},
                         {{1}, 1, {"a1", "a2", "keep"}}};
  for (const TCase& c : cases) {
    TFrmMain window(services);
    int code = 0;
    ASSERT_TRUE(window.Start({root + u"/f"}, code));
    window.show();
    TFileListModel& model = window.ListModel();
    QModelIndexList indexes;
    for (int row : c.dragged) indexes << model.index(row, TFileListModel::kName);
    std::unique_ptr<QMimeData> data(model.mimeData(indexes));
    ASSERT_TRUE(model.dropMimeData(data.get(), Qt::MoveAction, c.row, 0, {}));
    QStringList order;
    for (int row = 0; row < model.rowCount(); ++row) {
      order << model.index(row, TFileListModel::kName).data().toString();
    }
    EXPECT_EQ(order, c.order) << c.row;
    auto* view = window.findChild<QTableView*>(QStringLiteral("fileList"));
    EXPECT_EQ(view->selectionModel()->selectedRows().size(), c.dragged.size());
    EXPECT_EQ(model.headerData(TFileListModel::kName, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral("Name"));
  }
}

// A step dragged to the end of the script editor's list is the last step.
TEST_F(TFrmMainTest, ADraggedStepMovesInTheScript) {
  TFrmMain window(services);
  int code = 0;
  ASSERT_TRUE(window.Start({root + u"/f"}, code));
  TFrmScriptActions& script = window.App().session.script;
  for (TScriptType type : {TScriptType::stReplaceNameExtension, TScriptType::stAddPosition,
                           TScriptType::stSwap}) {
    script.NewScriptControl(type);
  }
  auto* steps = window.findChild<QListWidget*>(QStringLiteral("scriptList"));
  ASSERT_NE(steps, nullptr);
  ASSERT_EQ(steps->count(), 3);
  ASSERT_TRUE(steps->model()->moveRows({}, 0, 1, {}, 3));
  EXPECT_EQ(script.Step(0).ScriptType(), TScriptType::stAddPosition);
  EXPECT_EQ(script.Step(2).ScriptType(), TScriptType::stReplaceNameExtension);
  EXPECT_EQ(steps->currentRow(), 2);
}

// The folder tree: hidden at first, shown by View > Browser Pane; a click on
// a folder opens it, a folder opened otherwise is selected in it; its width
// and visibility come back at the next start.
TEST_F(TFrmMainTest, TheFolderTreeOpensFoldersAndIsRememberedAcrossRuns) {
  (void)fs->CreateFolderPath(root + u"/g");
  int width = 0;
  {
    TFrmMain window(services);
    int code = 0;
    ASSERT_TRUE(window.Start({root + u"/f"}, code));
    window.resize(1600, 900);  // room beside the list and the options
    window.show();
    TFolderTreePane& tree = window.FolderTree();
    EXPECT_TRUE(tree.isHidden());
    auto* toggle = window.findChild<QAction*>(QStringLiteral("mnuBrowserPane"));
    ASSERT_NE(toggle, nullptr);
    toggle->trigger();
    QApplication::processEvents();
    EXPECT_FALSE(tree.isHidden());
    EXPECT_EQ(tree.PaneWidth(), 200);
    EXPECT_EQ(tree.width(), 200);
    auto* folders = qobject_cast<QFileSystemModel*>(tree.model());
    ASSERT_NE(folders, nullptr);
    emit tree.clicked(folders->index(ToQt(root + u"/g")));
    EXPECT_EQ(window.App().session.model.folder, root + u"/g");
    window.OpenFolder(root + u"/f");
    EXPECT_EQ(folders->filePath(tree.currentIndex()), ToQt(root + u"/f"));
    auto* splitter = qobject_cast<QSplitter*>(tree.parentWidget());
    ASSERT_NE(splitter, nullptr);
    QList<int> sizes = splitter->sizes();
    sizes[0] += 60;  // the user widens the pane
    sizes[1] -= 60;
    splitter->setSizes(sizes);
    width = tree.PaneWidth();
    EXPECT_EQ(width, 260);
    window.close();
  }
  TFrmMain window(services);
  int code = 0;
  ASSERT_TRUE(window.Start({root + u"/f"}, code));
  window.resize(1600, 900);
  window.show();
  QApplication::processEvents();
  EXPECT_FALSE(window.FolderTree().isHidden());
  EXPECT_EQ(window.FolderTree().width(), width);
  EXPECT_TRUE(window.findChild<QAction*>(QStringLiteral("mnuBrowserPane"))->isChecked());
}

// Quick Edit through the real editor: F2 opens it with the hint, Enter
// renames (into a sub-folder made for it, which undo removes again), Down
// carries the name out and moves the editor on. A taken name, a name too long
// for the disk and a sub-folder that is a link are refused with the message,
// and the cell shows the old name again.
TEST_F(TFrmMainTest, QuickEditRenamesInPlaceOrSaysWhyNot) {
  (void)fs->CreateFolderPath(root + u"/g");
  std::filesystem::create_directory_symlink(Utf16ToUtf8(root + u"/g"),
                                            Utf16ToUtf8(root + u"/f/link"));
  TFrmMain window(services);
  int code = 0;
  ASSERT_TRUE(window.Start({root + u"/f"}, code));
  window.show();
  QApplication::setActiveWindow(&window);
  auto* view = window.findChild<QTableView*>(QStringLiteral("fileList"));
  const QString hint = QStringLiteral("Press UP or DOWN arrow to move rename box");
  const auto type = [&](int row, const QString& text) -> QLineEdit* {
    view->setCurrentIndex(window.ListModel().index(row, TFileListModel::kName));
    view->setFocus();
    QTest::keyClick(view, Qt::Key_F2);
    QLineEdit* editor = OpenEditor(*view);
    if (editor == nullptr) return nullptr;
    editor->selectAll();
    QTest::keyClicks(editor, text);
    return editor;
  };
  const auto caption = [&](int row) {
    return window.ListModel().index(row, TFileListModel::kName).data().toString();
  };

  QLineEdit* editor = type(0, QStringLiteral("sub/x1"));
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(window.statusBar()->currentMessage(), hint);
  QTest::keyClick(editor, Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_TRUE(fs->Exists(root + u"/f/sub/x1"));
  EXPECT_FALSE(fs->Exists(root + u"/f/a1"));
  EXPECT_EQ(caption(0), QStringLiteral("sub/x1"));
  EXPECT_EQ(window.statusBar()->currentMessage(), QString());
  AnswerNextDialog("Yes");
  window.Undo();
  EXPECT_TRUE(fs->Exists(root + u"/f/a1"));
  EXPECT_FALSE(fs->Exists(root + u"/f/sub"));

  const std::pair<QString, QString> refused[] = {
      {QStringLiteral("a2"), QStringLiteral("exists")},
      {QString(256, QLatin1Char('x')), QStringLiteral("longer than the file system allows")},
      {QStringLiteral("link/x1"), ToQt(root + u"/f/link")}};
  for (const auto& [name, reason] : refused) {
    ASSERT_EQ(caption(0), QStringLiteral("a1"));
    editor = type(0, name);
    ASSERT_NE(editor, nullptr) << name.toStdString();
    QString message;
    ReadNextMessage(message);
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_TRUE(message.startsWith(QStringLiteral("Cannot rename file\n"))) << message.toStdString();
    EXPECT_TRUE(message.contains(reason)) << message.toStdString();
    EXPECT_TRUE(fs->Exists(root + u"/f/a1")) << name.toStdString();
  }
  EXPECT_FALSE(fs->Exists(root + u"/g/x1"));

  editor = type(1, QStringLiteral("b2"));
  ASSERT_NE(editor, nullptr);
  QTest::keyClick(editor, Qt::Key_Down);
  QApplication::processEvents();
  EXPECT_TRUE(fs->Exists(root + u"/f/b2"));
  editor = OpenEditor(*view);
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(view->currentIndex().row(), 2);
  EXPECT_EQ(window.statusBar()->currentMessage(), hint);
  QTest::keyClick(editor, Qt::Key_Escape);
  QApplication::processEvents();
  EXPECT_EQ(window.statusBar()->currentMessage(), QString());
}

TEST(TStepEditorTest, LabelsReadAsWords) {
  const std::pair<std::u16string_view, const char*> cases[] = {
      {u"txtReplacePhrase", "Replace phrase"}, {u"cbxCESkipRemove", "Skip remove"},
      {u"txtCE1", "CE1"}, {u"cbOnCollision", "On collision"}, {u"rbSMPosition2", "Position2"}};
  for (const auto& [name, label] : cases) {
    EXPECT_EQ(ParameterLabel(name).toStdString(), label);
  }
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
