// The main window: the folder box and the filter over the virtual file list,
// the script editor and the option panels beside it, Preview, Rename and Undo,
// the three status panels and a progress bar. A thin shell over the session:
// every behaviour is the core's, the window shows and edits it.
#pragma once

#include <QMainWindow>
#include <QTimer>
#include <memory>

#include "cli/UnitApplication.h"
#include "cli/UnitStartupMessages.h"
#include "config/UnitMenuEntry.h"
#include "engine/UnitAutoSplit.h"
#include "platform/UnitFolderMonitor.h"
#include "rename/UnitRenameCommand.h"
#include "ui/UnitRenameErrorDialog.h"
#include "ui/UnitWindowProgress.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QToolButton;
class QProgressBar;
class QTableView;
class TFrmDummyShowPreview;
class TFileListModel;
class TFolderTreePane;
class TOptionPanels;
class TScriptEditor;
class TShellIntegration;
class TAutoSplitSource;
struct TCliServices;

// Message boxes of the start-up, shown over the window.
class TWindowMessages : public TStartupMessages {
 public:
  void SetParent(QWidget* parent) { parent_ = parent; }
  void ConsoleLine(std::u16string_view text) override;
  void ConsoleError(std::u16string_view text) override;
  void MessageBox(std::u16string_view text) override;

 private:
  QWidget* parent_ = nullptr;
};

class TFrmMain : public QMainWindow {
  Q_OBJECT

 public:
  static constexpr int kAutoPreviewMs = 1100;
  static constexpr int kFilterDelayMs = 700;

  explicit TFrmMain(const TCliServices& services);
  ~TFrmMain() override;

  // Opens the session (settings, recovery, undo store) and handles the
  // command line; false when it ended the program (`exitCode` says how).
  bool Start(const std::vector<std::u16string>& args, int& exitCode);
  // A command line handed over by a later copy.
  void TakeCommandLine(const std::u16string& text);

  // The commands, as the menus and buttons run them.
  void OpenFolder(const std::u16string& folder);
  void RefreshList(bool recursive = false);
  void Preview();
  void Rename();
  void Undo();
  void LoadScript(const std::u16string& path);
  void SaveScript(const std::u16string& path);

  TApplication& App() { return *app_; }
  TFileListModel& ListModel() { return *listModel_; }
  TFolderMonitor& Monitor() { return monitor_; }
  TScriptEditor& ScriptEditor() { return *scriptEditor_; }
  TFolderTreePane& FolderTree() { return *folderTree_; }
  QLabel& StatusPanel(int index) { return *panels_[static_cast<size_t>(index)]; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // A journal left over by a run cut short: asks to put its files back and
  // reports what moved, before the undo store is emptied. False when the
  // files stay where they are (declined, or not all could be put back).
  bool OfferRecovery();
  // The filter box's presets menu from "filter.ini"; a preset is applied at once.
  void LoadFilterPresets();
  void AddFilterPresets(QMenu& menu, const std::vector<TMenuEntry>& entries);
  // Shows the files the filter box's text matches ("*.*" when it is empty).
  void ApplyFilter();
  // Moves the rows selected in the view by `reorder` of the core's list, keeps
  // them selected, and asks for a new preview (the numbering follows the order).
  void MoveSelectedRows(void (TFrmDummyShowPreview::*reorder)());
  // After the user reordered the list (keys or a drag): no column is the sort
  // order, the moved rows (the core's selected ones) are selected, and a new
  // preview follows.
  void ShowManualOrder();
  void BuildMenus();
  QWidget* BuildListSide();
  void ScriptOrOptionChanged();
  void ShowStatus(const std::array<std::u16string, 3>& panels);
  void ShowFolder();
  // Watches the shown folder once the window was activated.
  void WatchFolder();
  void FolderChanged();
  // After the list was read again: the model reset, then AfterListShown.
  void AfterListChanged();
  // The folder, the status panels and an auto-preview for the shown list.
  void AfterListShown();
  void QuickEdit(int row, const QString& name);
  void ApplyWindowState();
  void SaveWindowState();
  bool Busy();

  TWindowMessages messages_;
  std::unique_ptr<TRenameErrorDialog> errors_;
  std::unique_ptr<TWindowProgress> progress_;
  std::unique_ptr<TApplication> app_;
  std::unique_ptr<TRenameCommand> rename_;
  std::unique_ptr<TAutoSplitSource> names_;
  TFileListModel* listModel_ = nullptr;
  TScriptEditor* scriptEditor_ = nullptr;
  TOptionPanels* options_ = nullptr;
  TFolderTreePane* folderTree_ = nullptr;
  QTableView* listView_ = nullptr;
  QComboBox* folderBox_ = nullptr;
  QLineEdit* filter_ = nullptr;
  QToolButton* filterPresets_ = nullptr;
  QCheckBox* autoPreview_ = nullptr;
  QProgressBar* progressBar_ = nullptr;
  std::array<QLabel*, 3> panels_{};
  QTimer previewTimer_;
  QTimer filterTimer_;
  TFolderMonitor monitor_;
  std::unique_ptr<class QSocketNotifier> monitorNotifier_;
  TShellIntegration* shell_ = nullptr;  // the desktop's menus; may be null
  bool busy_ = false;
  bool activated_ = false;
  std::u16string version_;
};
