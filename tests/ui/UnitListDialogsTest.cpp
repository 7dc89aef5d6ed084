// The dialogs over the list's checks and the pending renames, driven through
// their widgets: the exclude list unchecks and is kept in "exclude.ini", a
// pattern checks exactly its matches, and the batch file, run by sh, renames
// as the preview shows.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "platform/UnitText.h"
#include "ui/UnitFileListModel.h"
#include "ui/UnitFrmMain.h"
#include "ui/UnitQtText.h"
#include "ui/UnitWindowTestBase.h"
#include "UnitWindowTestSupport.h"

namespace {

QPushButton* Button(QWidget& dialog, const QString& textOrName) {
  for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
    if (button->objectName() == textOrName || button->text().remove(u'&') == textOrName) {
      return button;
    }
  }
  return nullptr;
}

// Clicks `button`, answering with `answer` the message box it opens; returns its text.
QString ClickAndAnswer(QPushButton* button, const char* answer) {
  QString shown;
  WithNextDialog([&shown, answer](QWidget& box) {
    for (QLabel* label : box.findChildren<QLabel*>()) shown += label->text();
    Button(box, QString::fromLatin1(answer))->click();
  });
  button->click();
  return shown;
}

class TListDialogsTest : public TWindowTestBase {
 protected:
  TListDialogsTest() {
    (void)fs->CreateFolderPath(root + u"/f/adir");
    for (const char16_t* name : {u"a1.txt", u"a2.txt", u"ab.ini", u"Thumbs.db", u"keep"}) {
      (void)fs->WriteWholeFile(root + u"/f/" + name, Utf16ToUtf8(name));
    }
  }

  bool Start(TFrmMain& window) {
    int code = 0;
    if (!window.Start({root + u"/f"}, code)) return false;
    window.App().session.model.fileFolderMode = TFileFolderMode::FilesAndFolders;
    window.RefreshList();
    return window.ListModel().rowCount() == 6;
  }

  // The names of the checked entries.
  static std::set<std::u16string> Checked(TFrmMain& window) {
    std::set<std::u16string> names;
    const TFrmDummyShowPreview& list = window.App().session.list;
    for (int row = 0; row < list.Count(); ++row) {
      if (list.GetChecked(row)) names.insert(list.GetFileData(row)->caption);
    }
    return names;
  }

  std::string Read(const std::u16string& path) {
    std::string bytes;
    (void)fs->ReadWholeFile(path, bytes);
    return bytes;
  }
};

TEST_F(TListDialogsTest, ExcludedNamesAreUncheckedAndKeptInExcludeIni) {
  const std::u16string file = root + u"/home/exclude.ini";
  {
    TFrmMain window(services);
    ASSERT_TRUE(Start(window));
    WithNextDialog([&](QWidget& dialog) {
      auto* mask = dialog.findChild<QLineEdit*>(QStringLiteral("txtMask"));
      for (const QString& typed : {QStringLiteral(" *.txt "), QStringLiteral("*.TXT")}) {
        mask->setText(typed);
        Button(dialog, QStringLiteral("btnAdd"))->click();
      }
      for (QAction* example : Button(dialog, QStringLiteral("btnExamples"))->menu()->actions()) {
        if (example->text().contains(QStringLiteral("Thumbs"))) example->trigger();
      }
      EXPECT_EQ(dialog.findChild<QListWidget*>()->count(), 2);  // "*.TXT" is listed already
      // A file that cannot be written keeps the dialog open with the reason.
      ASSERT_TRUE(fs->CreateFolderPath(file + u"/in-the-way").ok());
      const QString shown = ClickAndAnswer(Button(dialog, QStringLiteral("OK")), "OK");
      EXPECT_TRUE(shown.contains(ToQt(file))) << shown.toStdString();
      EXPECT_TRUE(dialog.isVisible());
      ASSERT_TRUE(fs->RemoveEmptyFolder(file + u"/in-the-way").ok());
      ASSERT_TRUE(fs->RemoveEmptyFolder(file).ok());
      Button(dialog, QStringLiteral("OK"))->click();
    });
    FindMenuItem(window, QStringLiteral("Exclude List..."))->trigger();
    EXPECT_EQ(Checked(window), (std::set<std::u16string>{u"ab.ini", u"keep"}));
    EXPECT_EQ(Read(file), "*.txt\nThumbs.db\n");
  }
  // The next run excludes them at once; deleting a mask lets it be checked again.
  TFrmMain window(services);
  ASSERT_TRUE(Start(window));
  EXPECT_EQ(Checked(window), (std::set<std::u16string>{u"ab.ini", u"keep"}));
  WithNextDialog([](QWidget& dialog) {
    auto* masks = dialog.findChild<QListWidget*>();
    masks->setCurrentRow(0);
    Button(dialog, QStringLiteral("btnDelete"))->click();
    Button(dialog, QStringLiteral("OK"))->click();
  });
  FindMenuItem(window, QStringLiteral("Exclude List..."))->trigger();
  EXPECT_EQ(Read(file), "Thumbs.db\n");
  window.RefreshList();
  EXPECT_EQ(Checked(window).count(u"a1.txt"), 1u);
  EXPECT_EQ(Checked(window).count(u"Thumbs.db"), 0u);
}

TEST_F(TListDialogsTest, APatternChecksExactlyTheMatchingEntries) {
  struct TCase {
    const char* pattern;
    const char* action;
    bool folders;
    bool regExp;
    std::set<std::u16string> checked;  // starting from every entry unchecked but "keep"
  };
  const TCase cases[] = {
      {"a?.txt", "rbSelectOnly", false, false, {u"a1.txt", u"a2.txt"}},
      {"a*", "rbSelect", false, false, {u"a1.txt", u"a2.txt", u"ab.ini", u"keep"}},
      {"a*", "rbSelect", true, false, {u"adir", u"a1.txt", u"a2.txt", u"ab.ini", u"keep"}},
      {"k.*|a\\d\\.txt", "rbSelect", false, true, {u"a1.txt", u"a2.txt", u"keep"}},
      {"a(", "rbSelectOnly", false, true, {u"keep"}},  // a bad expression changes nothing
  };
  TFrmMain window(services);
  ASSERT_TRUE(Start(window));
  for (const TCase& c : cases) {
    TFrmDummyShowPreview& list = window.App().session.list;
    for (int row = 0; row < list.Count(); ++row) {
      list.SetChecked(row, list.GetFileData(row)->caption == u"keep");
    }
    QString warning;
    WithNextDialog([&](QWidget& dialog) {
      dialog.findChild<QLineEdit*>(QStringLiteral("txtPattern"))->setText(QString::fromLatin1(c.pattern));
      dialog.findChild<QRadioButton*>(QString::fromLatin1(c.action))->setChecked(true);
      dialog.findChild<QCheckBox*>(QStringLiteral("cbIncludeFolders"))->setChecked(c.folders);
      dialog.findChild<QCheckBox*>(QStringLiteral("cbUseRegExp"))->setChecked(c.regExp);
      if (std::string(c.pattern) == "a(") {
        warning = ClickAndAnswer(Button(dialog, QStringLiteral("OK")), "OK");
        EXPECT_TRUE(dialog.isVisible());
        Button(dialog, QStringLiteral("Cancel"))->click();
      } else {
        Button(dialog, QStringLiteral("OK"))->click();
      }
    });
    FindMenuItem(window, QStringLiteral("Check by Pattern..."))->trigger();
    EXPECT_EQ(Checked(window), c.checked) << c.pattern;
    EXPECT_EQ(warning.isEmpty(), std::string(c.pattern) != "a(") << c.pattern;
  }
}

// Moves into a sub-folder that does not exist yet, run by sh: the folder
// holds the names the preview showed, nothing under a temporary name. An
// existing file is replaced only when the user says so.
TEST_F(TListDialogsTest, TheBatchFileRenamesAsThePreviewShows) {
  TFrmMain window(services);
  ASSERT_TRUE(Start(window));
  TFrmDummyShowPreview& list = window.App().session.list;
  for (int row = 0; row < list.Count(); ++row) {
    const std::u16string& name = list.GetFileData(row)->caption;
    list.SetChecked(row, name == u"a1.txt" || name == u"a2.txt" || name == u"ab.ini");
  }
  AddFindAndReplace(window, QStringLiteral("a"), QStringLiteral("new/a"));
  window.Preview();
  std::set<std::string> shown = {"adir", "Thumbs.db", "keep"};
  for (int row = 0; row < list.Count(); ++row) {
    if (list.GetChecked(row)) shown.insert(Utf16ToUtf8(list.GetFullNewName(row)));
  }
  ASSERT_EQ(shown.count("new/a1.txt"), 1u);

  const std::u16string script = root + u"/home/go.sh";
  WithNextDialog([](QWidget& dialog) {
    QPushButton* save = Button(dialog, QStringLiteral("btnSave"));
    EXPECT_FALSE(save->isEnabled());
    dialog.findChild<QLineEdit*>(QStringLiteral("txtName"))->setText(QStringLiteral("go"));
    save->click();
  });
  QAction* generate = FindMenuItem(window, QStringLiteral("Generate Batch File ..."));
  generate->trigger();
  const std::string written = Read(script);
  ASSERT_EQ(written.rfind("#!/bin/sh\n", 0), 0u) << written;

  // Declined, the old file stays and the dialog with it.
  WithNextDialog([](QWidget& dialog) {
    dialog.findChild<QLineEdit*>(QStringLiteral("txtCommand"))->setText(QStringLiteral("echo"));
    ClickAndAnswer(Button(dialog, QStringLiteral("btnSave")), "No");
    EXPECT_TRUE(dialog.isVisible());
    Button(dialog, QStringLiteral("Cancel"))->click();
  });
  generate->trigger();
  EXPECT_EQ(Read(script), written);

  const std::string command = "sh '" + Utf16ToUtf8(script) + "'";
  ASSERT_EQ(std::system(command.c_str()), 0);
  std::set<std::string> found;
  const std::filesystem::path folder = Utf16ToUtf8(root + u"/f");
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (!entry.is_directory() || entry.path().filename() == "adir") {
      found.insert(entry.path().lexically_relative(folder).string());
    }
  }
  EXPECT_EQ(found, shown);
  EXPECT_EQ(Read(root + u"/f/new/a1.txt"), "a1.txt");
}

}  // namespace
