// The configuration dialog over the real window, offscreen: a saved option
// reaches the next preview and "tw.ini"; Cancel and a failed write change
// nothing; the folder menu and the Open With entry are written into a
// temporary XDG_DATA_HOME, valid, and removed again.
#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QValidator>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "config/UnitDesktopIntegration.h"
#include "platform/UnitFileSystem.h"
#include "platform/UnitText.h"
#include "scriptio/UnitMyINIFile.h"
#include "ui/UnitConfigDialog.h"
#include "ui/UnitQtText.h"
#include "ui/UnitFileListModel.h"
#include "ui/UnitFrmMain.h"
#include "ui/UnitScriptEditor.h"
#include "ui/UnitWindowTestBase.h"
#include "ui/UnitWindowTestSupport.h"

namespace {

// Closes the next message box and hands back its text.
void ReadNextMessage(QString& text) {
  WithNextDialog([&text](QWidget& box) {
    text = static_cast<QMessageBox&>(box).text();
    static_cast<QMessageBox&>(box).accept();
  });
}

template <typename T>
T& Child(QWidget& parent, const char* name) {
  T* child = parent.findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(child, nullptr) << name;
  return *child;
}

// The desktop's own checker, where it is installed.
void ExpectValidDesktopEntry(const std::string& path) {
  ASSERT_TRUE(std::filesystem::exists(path)) << path;
  if (std::system("command -v desktop-file-validate >/dev/null 2>&1") != 0) return;
  EXPECT_EQ(std::system(("desktop-file-validate '" + path + "'").c_str()), 0) << path;
}

class TConfigDialogTest : public TWindowTestBase {
 protected:
  TConfigDialogTest() {
    env.values[u"XDG_DATA_HOME"] = root + u"/data";
    env.values[u"XDG_CONFIG_HOME"] = root + u"/config";
    env.values[u"TW_COLON"] = u"a:b";
    (void)fs->CreateFolderPath(root + u"/f");
    (void)fs->WriteWholeFile(root + u"/f/x1", "x");
    (void)fs->WriteWholeFile(root + u"/f/.hidden", "x");
    int code = 0;
    EXPECT_TRUE(window.Start({root + u"/f"}, code));
    window.show();
    // A step whose new names hold a reserved character: "x1" -> "xa?b".
    for (QAction* action : window.ScriptEditor().AddStepMenu()->actions()) {
      if (action->text().endsWith(QStringLiteral("Find and Replace"))) action->trigger();
    }
    for (const auto& [name, text] : {std::pair{"txtReplacePhrase", "1"},
                                     std::pair{"txtReplaceWith", "%TW_COLON%"}}) {
      auto& edit = Child<QLineEdit>(window, name);
      edit.setText(QString::fromLatin1(text));
      emit edit.textEdited(edit.text());
    }
    window.Preview();
  }

  const TCliServices& WithShell() {
    services.shell = &shell;
    return services;
  }

  // The new name of "x1".
  QString NewName() {
    const TFileListModel& list = window.ListModel();
    for (int row = 0; row < list.rowCount(); ++row) {
      if (list.index(row, TFileListModel::kName).data().toString() == QStringLiteral("x1")) {
        return list.index(row, TFileListModel::kNewName).data().toString();
      }
    }
    return QStringLiteral("(no x1)");
  }
  std::u16string Stored(const char16_t* section, const char16_t* key) {
    TMyINIFile ini;
    EXPECT_TRUE(ini.Open(*fs, root + u"/home/tw.ini").ok());
    return ini.ReadString(section, key, u"(missing)");
  }
  std::string SettingsBytes() {
    std::string bytes;
    (void)fs->ReadWholeFile(root + u"/home/tw.ini", bytes);
    return bytes;
  }

  TDesktopIntegration shell{*fs, env, u"/opt/tw/tallowick"};
  TFrmMain window{WithShell()};
};

TEST_F(TConfigDialogTest, SavedOptionsReachTheListThePreviewAndTheFile) {
  ASSERT_EQ(NewName(), QStringLiteral("xa;b"));
  ASSERT_EQ(window.ListModel().rowCount(), 2);
  QAction* item = window.findChild<QAction*>(QStringLiteral("mnuConfiguration"));
  ASSERT_NE(item, nullptr);
  WithNextDialog([](QWidget& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Tallowick - Configuration"));
    Child<QLineEdit>(dialog, "Colon").setText(QStringLiteral("_"));
    WithNextDialog([](QWidget& chooser) {
      static_cast<QColorDialog&>(chooser).setCurrentColor(QColor(1, 2, 3));
      static_cast<QDialog&>(chooser).accept();
    });
    Child<QPushButton>(dialog, "lblCollisionsFore").click();
    Child<QCheckBox>(dialog, "cbNoHiddenFiles").setChecked(true);
    Child<QPushButton>(dialog, "btnSave").click();
  });
  item->trigger();
  EXPECT_EQ(window.ListModel().rowCount(), 1);  // listed again without ".hidden"
  EXPECT_EQ(NewName(), QStringLiteral("xa_b"));
  EXPECT_EQ(window.ListModel().Colours().collision, QColor(1, 2, 3));
  EXPECT_EQ(Stored(u"System", u"Colon"), u"_");
  EXPECT_EQ(Stored(u"Colors", u"lblCollisionsFore"), u"197121");  // 0x030201
}

TEST_F(TConfigDialogTest, CancelLeavesSettingsFileAndPreviewAsTheyWere) {
  const std::string before = SettingsBytes();
  TFrmConfigDialog dialog(window.App().config, &shell, &window);
  dialog.show();
  auto& colon = Child<QLineEdit>(dialog, "Colon");
  // One character, never half of a pair nor a control character.
  for (const QString& refused : {QStringLiteral("ab"), QString(QChar(0xD83D)),
                                 QString::fromUtf8("\xF0\x9F\x98\x80"), QStringLiteral("\t")}) {
    QString input = refused;
    int at = 0;
    EXPECT_EQ(colon.validator()->validate(input, at), QValidator::Invalid) << input.toStdString();
  }
  colon.setText(QStringLiteral("_"));
  Child<QCheckBox>(dialog, "cbIgnoreEmpty").setChecked(false);
  Child<QCheckBox>(dialog, "DontUseLastFolder").setChecked(false);  // "Last Used Path" off
  Child<QPushButton>(dialog, "btnCancel").click();
  window.Preview();
  EXPECT_EQ(NewName(), QStringLiteral("xa;b"));
  EXPECT_EQ(window.App().config.Text(TSetting::ReplaceColon), u";");
  EXPECT_TRUE(window.App().config.Flag(TSetting::IgnoreEmpty));
  EXPECT_TRUE(window.App().config.UseLastFolder());
  EXPECT_EQ(SettingsBytes(), before);
}

TEST_F(TConfigDialogTest, AFailedWriteNamesTheFileAndChangesNothing) {
  // "tw.ini" cannot be replaced while a folder of that name holds a file.
  (void)fs->DeleteFile(root + u"/home/tw.ini");
  (void)fs->CreateFolderPath(root + u"/home/tw.ini");
  (void)fs->WriteWholeFile(root + u"/home/tw.ini/keep", "x");
  TFrmConfigDialog dialog(window.App().config, &shell, &window);
  dialog.show();
  Child<QLineEdit>(dialog, "Colon").setText(QStringLiteral("_"));
  QString message;
  ReadNextMessage(message);
  Child<QPushButton>(dialog, "btnSave").click();
  EXPECT_TRUE(message.startsWith(QStringLiteral("Error saving configuration:")))
      << message.toStdString();
  EXPECT_TRUE(message.contains(ToQt(root + u"/home/tw.ini"))) << message.toStdString();
  EXPECT_TRUE(dialog.isVisible());  // open for another try or Cancel
  EXPECT_TRUE(dialog.Changed().empty());
  EXPECT_EQ(window.App().config.Text(TSetting::ReplaceColon), u";");
  window.Preview();
  EXPECT_EQ(NewName(), QStringLiteral("xa;b"));
}

TEST_F(TConfigDialogTest, FolderMenuAndOpenWithAreWrittenValidAndRemovedAgain) {
  const std::string data = temp.PathOf("data/applications/");
  TFrmConfigDialog dialog(window.App().config, &shell, &window);
  dialog.show();
  auto& folderMenu = Child<QCheckBox>(dialog, "OnContextMenu");
  ASSERT_FALSE(folderMenu.isChecked());
  folderMenu.click();
  ExpectValidDesktopEntry(data + "tallowick-folder.desktop");
  EXPECT_TRUE(dialog.ShellReport().startsWith(QStringLiteral("Wrote ")))
      << dialog.ShellReport().toStdString();
  EXPECT_EQ(Stored(u"Registry", u"OnContextMenu"), u"Yes");  // stored at once

  QString message;
  ReadNextMessage(message);
  Child<QPushButton>(dialog, "btnCreateSendTo").click();
  EXPECT_EQ(message, ToQt(kSendToCreatedMessage));
  ExpectValidDesktopEntry(data + "tallowick-files.desktop");

  folderMenu.click();
  EXPECT_FALSE(std::filesystem::exists(data + "tallowick-folder.desktop"));
  EXPECT_TRUE(dialog.ShellReport().startsWith(QStringLiteral("Removed ")))
      << dialog.ShellReport().toStdString();
  EXPECT_EQ(Stored(u"Registry", u"OnContextMenu"), u"No");
  dialog.reject();

  // Where the desktop's folders are unknown the box says why and stays off.
  TMapEnvironment bare;
  TDesktopIntegration nowhere(*fs, bare, u"/opt/tw/tallowick");
  TFrmConfigDialog lost(window.App().config, &nowhere, &window);
  lost.show();
  ReadNextMessage(message);
  Child<QCheckBox>(lost, "OnContextMenu").click();
  EXPECT_TRUE(message.contains(QStringLiteral("HOME"))) << message.toStdString();
  EXPECT_FALSE(Child<QCheckBox>(lost, "OnContextMenu").isChecked());
  EXPECT_FALSE(window.App().config.Flag(TSetting::OnContextMenu));
}

}  // namespace
