#include "ui/UnitFrmMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSocketNotifier>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "cli/UnitCliServices.h"
#include "cli/UnitCommandLineSplit.h"
#include "config/UnitColours.h"
#include "config/UnitFilterPresetsFile.h"
#include "config/UnitInsertMenuFile.h"
#include "config/UnitRecentFolders.h"
#include "config/UnitStartupState.h"
#include "engine/UnitAutoSplit.h"
#include "model/UnitRenameRecord.h"
#include "platform/UnitAppFolder.h"
#include "platform/UnitClock.h"
#include "platform/UnitEnvironment.h"
#include "rename/UnitRenameInPlace.h"
#include "rename/UnitRenameJournal.h"
#include "scriptio/UnitScriptFile.h"
#include "ui/UnitColumnController.h"
#include "ui/UnitDesktopTools.h"
#include "ui/UnitFileListModel.h"
#include "ui/UnitFolderTreePane.h"
#include "ui/UnitIncrementalScan.h"
#include "ui/UnitListDialogs.h"
#include "ui/UnitOptionPanels.h"
#include "ui/UnitQtText.h"
#include "ui/UnitQuickEdit.h"
#include "ui/UnitScriptEditor.h"
#include "ui/UnitStepEditor.h"
#include "ui/UnitTextFileWizard.h"
#include "ui/UnitUndoDialog.h"
#include "ui/UnitWindowParts.h"
#include "ui/UnitWindowSettings.h"

namespace {

constexpr const char16_t* kVersion = u"0.1.0";

// The names of the list's entries, for Auto-Split.
class TListNames : public TAutoSplitSource {
 public:
  explicit TListNames(const TFrmDummyShowPreview& list) : list_(list) {}
  int Count() const override { return list_.Count(); }
  bool IsChecked(int index) const override { return list_.GetChecked(index); }
  std::u16string Name(int index) const override {
    return ExtractFileName(list_.GetFileData(index)->caption);
  }

 private:
  const TFrmDummyShowPreview& list_;
};

QColor ColourOf(const TfrmConfig& config, TSetting id, const QColor& fallback) {
  TColour colour = config.Colour(id);
  if (colour == kColourKeep) return fallback;
  colour = ColorToRGB(colour, TSystemColours());
  return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

// Keeps a flag set for the length of a scope.
class TBusy {
 public:
  explicit TBusy(bool& flag) : flag_(flag) { flag_ = true; }
  ~TBusy() { flag_ = false; }
  TBusy(const TBusy&) = delete;
  TBusy& operator=(const TBusy&) = delete;

 private:
  bool& flag_;
};

}  // namespace

void TWindowMessages::ConsoleLine(std::u16string_view text) {
  QMessageBox::information(parent_, QStringLiteral("Tallowick"), ToQt(text));
}

void TWindowMessages::ConsoleError(std::u16string_view text) {
  QMessageBox::warning(parent_, QStringLiteral("Tallowick"), ToQt(text));
}

void TWindowMessages::MessageBox(std::u16string_view text) {
  QMessageBox::information(parent_, QStringLiteral("Tallowick"), ToQt(text));
}

TFrmMain::TFrmMain(const TCliServices& s) : version_(kVersion) {
  setObjectName(QStringLiteral("mainWindow"));
  shell_ = s.shell;
  setAcceptDrops(true);
  messages_.SetParent(this);
  progressBar_ = new QProgressBar(this);
  progressBar_->hide();
  for (QLabel*& panel : panels_) panel = new QLabel(this);
  progress_ = std::make_unique<TWindowProgress>(*progressBar_, *panels_[2]);
  errors_ = std::make_unique<TRenameErrorDialog>(this);
  app_ = std::make_unique<TApplication>(TApplicationServices{
      s.fs, s.clock, s.env, s.tags, ApplicationFolder(s.env), messages_, *progress_, *errors_,
      [](const std::u16string& path) { return CanonicalPath(path); }});
  rename_ = std::make_unique<TRenameCommand>(app_->session, app_->undo, app_->store, *errors_);

  auto* splitter = new QSplitter(this);
  folderTree_ = new TFolderTreePane(splitter);
  splitter->addWidget(folderTree_);
  connect(folderTree_, &TFolderTreePane::FolderChosen, this,
          [this](const QString& folder) { OpenFolder(FromQt(folder)); });
  splitter->addWidget(BuildListSide());
  auto* right = new QTabWidget(splitter);
  names_ = std::make_unique<TListNames>(app_->session.list);
  scriptEditor_ = new TScriptEditor(app_->session.script, *names_, right);
  right->addTab(scriptEditor_, tr("Script"));
  options_ = new TOptionPanels(app_->session.model, [this] { ScriptOrOptionChanged(); }, right);
  right->addTab(options_, tr("Options"));
  splitter->addWidget(right);
  splitter->setStretchFactor(0, 0);  // the folder tree keeps its width
  splitter->setStretchFactor(1, 3);
  splitter->setStretchFactor(2, 2);
  setCentralWidget(splitter);
  for (size_t i = 0; i < panels_.size(); ++i) {
    panels_[i]->setObjectName(QStringLiteral("statusPanel%1").arg(i));
    statusBar()->addWidget(panels_[i], i == 2 ? 1 : 0);
  }
  statusBar()->addPermanentWidget(progressBar_);
  BuildMenus();

  previewTimer_.setSingleShot(true);
  previewTimer_.setInterval(kAutoPreviewMs);
  connect(&previewTimer_, &QTimer::timeout, this, &TFrmMain::Preview);
  filterTimer_.setSingleShot(true);
  filterTimer_.setInterval(kFilterDelayMs);
  connect(&filterTimer_, &QTimer::timeout, this, &TFrmMain::ApplyFilter);
  app_->session.script.SetChangeListener([this] {
    scriptEditor_->Redraw();
    ScriptOrOptionChanged();
  });
}

TFrmMain::~TFrmMain() {
  app_->session.script.SetChangeListener({});
  // The widgets show the session: they go before it does.
  monitorNotifier_.reset();
  delete takeCentralWidget();
  delete listModel_;
}

QWidget* TFrmMain::BuildListSide() {
  auto* side = new QWidget(this);
  auto* layout = new QVBoxLayout(side);
  auto* top = new QHBoxLayout;
  folderBox_ = new QComboBox(side);
  folderBox_->setObjectName(QStringLiteral("folderBox"));
  folderBox_->setEditable(true);
  folderBox_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  connect(folderBox_->lineEdit(), &QLineEdit::returnPressed, this,
          [this] { OpenFolder(FromQt(folderBox_->currentText())); });
  connect(folderBox_, &QComboBox::activated, this,
          [this](int index) { OpenFolder(FromQt(folderBox_->itemText(index))); });
  auto* browse = new QPushButton(tr("..."), side);
  connect(browse, &QPushButton::clicked, this, [this] {
    const QString folder = QFileDialog::getExistingDirectory(this, tr("Open Folder"),
                                                             ToQt(app_->session.model.folder));
    if (!folder.isEmpty()) OpenFolder(FromQt(folder));
  });
  filter_ = new QLineEdit(side);
  filter_->setObjectName(QStringLiteral("filter"));
  filter_->setPlaceholderText(tr("Filter:  none"));
  // Wide enough for the placeholder, which the folder box would squeeze.
  filter_->setMinimumWidth(filter_->fontMetrics().horizontalAdvance(filter_->placeholderText()) +
                           4 * filter_->fontMetrics().averageCharWidth());
  connect(filter_, &QLineEdit::textEdited, this, [this] { filterTimer_.start(); });
  filterPresets_ = new QToolButton(side);
  filterPresets_->setObjectName(QStringLiteral("filterPresets"));
  filterPresets_->setText(QStringLiteral("\u25BE"));
  filterPresets_->setToolTip(tr("Filter presets"));
  filterPresets_->setPopupMode(QToolButton::InstantPopup);
  filterPresets_->setMenu(new QMenu(filterPresets_));
  top->addWidget(folderBox_, 3);
  top->addWidget(browse);
  top->addWidget(new QLabel(tr("Filter:"), side));
  top->addWidget(filter_, 1);
  top->addWidget(filterPresets_);
  layout->addLayout(top);

  listModel_ = new TFileListModel(app_->session.list, this);
  listModel_->SetBusyCheck([this] { return Busy(); });
  listView_ = new QTableView(side);
  listView_->setObjectName(QStringLiteral("fileList"));
  listView_->setModel(listModel_);
  listView_->horizontalHeader()->setSortIndicator(TFileListModel::kName, Qt::AscendingOrder);
  listView_->setSortingEnabled(true);
  // The captions carry the sort marker; an arrow beside them would repeat it.
  listView_->horizontalHeader()->setSortIndicatorShown(false);
  listView_->setSelectionBehavior(QAbstractItemView::SelectRows);
  listView_->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
  listView_->verticalHeader()->hide();
  listView_->verticalHeader()->setDefaultSectionSize(listView_->fontMetrics().height() + 6);
  listView_->horizontalHeader()->setStretchLastSection(true);
  listView_->setColumnWidth(TFileListModel::kName, 260);
  listView_->setColumnWidth(TFileListModel::kNewName, 260);
  connect(listModel_, &TFileListModel::CheckChanged, this, [this] {
    ShowStatus(app_->session.Status({}));
    ScriptOrOptionChanged();
  });
  connect(listModel_, &TFileListModel::NameEdited, this, &TFrmMain::QuickEdit);
  InstallQuickEdit(*listView_, TFileListModel::kName, *statusBar());
  listView_->setDragDropMode(QAbstractItemView::InternalMove);
  listView_->setDragDropOverwriteMode(false);
  connect(listModel_, &TFileListModel::RowsDropped, this, &TFrmMain::ShowManualOrder);
  layout->addWidget(listView_, 1);

  auto* buttons = new QHBoxLayout;
  auto* preview = new QPushButton(tr("&Preview"), side);
  auto* rename = new QPushButton(tr("&Rename"), side);
  auto* undo = new QPushButton(tr("&Undo"), side);
  preview->setObjectName(QStringLiteral("previewButton"));
  rename->setObjectName(QStringLiteral("renameButton"));
  undo->setObjectName(QStringLiteral("undoButton"));
  connect(preview, &QPushButton::clicked, this, &TFrmMain::Preview);
  connect(rename, &QPushButton::clicked, this, &TFrmMain::Rename);
  connect(undo, &QPushButton::clicked, this, &TFrmMain::Undo);
  autoPreview_ = new QCheckBox(tr("Enable Auto-Preview mode"), side);
  autoPreview_->setObjectName(QStringLiteral("autoPreview"));
  autoPreview_->setChecked(true);
  buttons->addWidget(preview);
  buttons->addWidget(rename);
  buttons->addWidget(undo);
  buttons->addStretch();
  buttons->addWidget(autoPreview_);
  layout->addLayout(buttons);
  return side;
}

void TFrmMain::BuildMenus() {
  QMenu* file = menuBar()->addMenu(tr("&File"));
  file->addAction(tr("Open Folder..."), QKeySequence::Open, this, [this] {
    const QString folder = QFileDialog::getExistingDirectory(this, tr("Open Folder"),
                                                             ToQt(app_->session.model.folder));
    if (!folder.isEmpty()) OpenFolder(FromQt(folder));
  });
  file->addAction(tr("Refresh"), QKeySequence::Refresh, this, [this] { RefreshList(); });
  file->addAction(tr("Recursive Scan"), this, [this] {
    if (busy_) {
      panels_[2]->setText(tr("Cancelling scan - this may take a few seconds"));
      progress_->Cancel();
    } else {
      RefreshList(true);
    }
  });
  file->addSeparator();
  const std::pair<const char*, TFileFolderMode> modes[] = {
      {"Files Only", TFileFolderMode::FilesOnly},
      {"Folders Only", TFileFolderMode::FoldersOnly},
      {"Files and Folders", TFileFolderMode::FilesAndFolders}};
  for (const auto& [caption, mode] : modes) {
    const TFileFolderMode chosen = mode;
    file->addAction(tr(caption), this, [this, chosen] {
      app_->session.model.fileFolderMode = chosen;
      RefreshList();
    });
  }
  file->addSeparator();
  file->addAction(tr("Exit"), QKeySequence::Quit, this, &QWidget::close);

  QMenu* script = menuBar()->addMenu(tr("&Script"));
  script->addAction(tr("Load..."), this, [this] {
    const QString path = QFileDialog::getOpenFileName(this, tr("Load Script"),
                                                      ToQt(app_->session.appFolder),
                                                      tr("Scripts (*.twscr *.tw-)"));
    if (!path.isEmpty()) LoadScript(FromQt(path));
  });
  script->addAction(tr("Save..."), QKeySequence::Save, this, [this] {
    const QString path = QFileDialog::getSaveFileName(this, tr("Save Script"),
                                                      ToQt(app_->session.appFolder),
                                                      tr("Scripts (*.twscr)"));
    if (!path.isEmpty()) SaveScript(FromQt(path));
  });
  QMenu* quick = script->addMenu(tr("Quick Load"));
  connect(quick, &QMenu::aboutToShow, this, [this, quick] {
    quick->clear();
    QMenu* older = nullptr;
    (void)app_->session.fs.ListFolder(app_->session.appFolder, [&](const TFolderEntry& entry) {
      const QString name = ToQt(entry.name);
      const std::u16string path = app_->session.appFolder + entry.name;
      if (name.endsWith(QStringLiteral(".twscr"), Qt::CaseInsensitive)) {
        quick->addAction(name, this, [this, path] { LoadScript(path); });
      } else if (name.endsWith(QStringLiteral(".tw-"), Qt::CaseInsensitive)) {
        if (older == nullptr) older = quick->addMenu(tr("(Older Scripts)"));
        older->addAction(name, this, [this, path] { LoadScript(path); });
      }
      return true;
    });
  });
  script->addMenu(scriptEditor_->AddStepMenu());
  script->addSeparator();
  TFrmScriptActions& steps = app_->session.script;
  script->addAction(tr("Add All Above Steps"), this, [&steps] {
    for (int type = 0; type < kScriptTypeCount; ++type) {
      steps.NewScriptControl(static_cast<TScriptType>(type), true);
    }
  });
  script->addAction(tr("Clear Renaming Options"), this, [&steps] { steps.Clear(); });
  script->addAction(tr("Disable All"), this, [&steps] { steps.DisableAll(); });
  script->addAction(tr("Reset All"), this, [&steps] { steps.ResetAll(); });
  script->addAction(tr("Clear Disabled"), this, [&steps] { steps.ClearDisabled(); });

  QMenu* select = menuBar()->addMenu(tr("S&elect"));
  const auto checkAll = [this](int how) {
    TFrmDummyShowPreview& list = app_->session.list;
    for (int row = 0; row < list.Count(); ++row) {
      list.SetChecked(row, how == 2 ? !list.GetChecked(row) : how == 1);
    }
    listModel_->Refreshed();
    ShowStatus(app_->session.Status({}));
    ScriptOrOptionChanged();
  };
  select->addAction(tr("Check All"), this, [checkAll] { checkAll(1); });
  select->addAction(tr("Uncheck All"), this, [checkAll] { checkAll(0); });
  select->addAction(tr("Invert"), this, [checkAll] { checkAll(2); });
  select->addSeparator();
  select->addAction(tr("Move Up"), QKeySequence(Qt::CTRL | Qt::Key_Up), this,
                    [this] { MoveSelectedRows(&TFrmDummyShowPreview::MoveUp); });
  select->addAction(tr("Move Down"), QKeySequence(Qt::CTRL | Qt::Key_Down), this,
                    [this] { MoveSelectedRows(&TFrmDummyShowPreview::MoveDown); });
  select->addAction(tr("Move to Top"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Up), this,
                    [this] { MoveSelectedRows(&TFrmDummyShowPreview::MoveTop); });
  select->addAction(tr("Move to Bottom"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Down),
                    this, [this] { MoveSelectedRows(&TFrmDummyShowPreview::MoveBottom); });

  QMenu* rename = menuBar()->addMenu(tr("&Rename"));
  rename->addAction(tr("Preview"), QKeySequence(Qt::Key_F5), this, &TFrmMain::Preview);
  rename->addAction(tr("Rename"), QKeySequence(Qt::CTRL | Qt::Key_R), this, &TFrmMain::Rename);
  rename->addAction(tr("Undo"), QKeySequence::Undo, this, &TFrmMain::Undo);
  rename->addAction(tr("Save Undo to file ..."), this, [this] {
    if (!app_->store.HasState() || !app_->store.LoadLastState(app_->undo).ok()) return;
    TIgnoreRenameErrors quiet;
    const std::u16string name = UndoBatchFileName(app_->session.clock.Now());
    const TUndoResult result = app_->undo.UndoNow(name, quiet);
    app_->store.CancelLastLoad();
    messages_.MessageBox(result.status.ok() ? u"Undo batch file saved to: " + name
                                            : result.status.Message());
  });

  QMenu* help = menuBar()->addMenu(tr("&Help"));
  help->addAction(tr("About"), this, [this] {
    QMessageBox::about(this, QStringLiteral("Tallowick"),
                       QStringLiteral("Tallowick ") + ToQt(version_) +
                           tr("\nA batch renamer for files and folders."));
  });
}

void TFrmMain::MoveSelectedRows(void (TFrmDummyShowPreview::*reorder)()) {
  if (Busy()) return;
  TFrmDummyShowPreview& list = app_->session.list;
  list.ClearAllSelected();
  for (const QModelIndex& index : listView_->selectionModel()->selectedRows()) {
    list.SetSelected(index.row());
  }
  if (list.SelectedCount() == 0) return;
  (list.*reorder)();
  listModel_->Reload();
  ShowManualOrder();
}

void TFrmMain::ShowManualOrder() {
  const TFrmDummyShowPreview& list = app_->session.list;
  {
    // The list is in the user's order now, not sorted by a column.
    const QSignalBlocker quiet(listView_->horizontalHeader());
    listView_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
  }
  listModel_->ClearSortMarker();
  QItemSelection moved;
  for (int row : list.SelectedRows()) {
    moved.select(listModel_->index(row, 0), listModel_->index(row, TFileListModel::kColumnCount - 1));
  }
  listView_->selectionModel()->select(moved, QItemSelectionModel::ClearAndSelect);
  if (!list.SelectedRows().empty()) {
    listView_->setCurrentIndex(listModel_->index(list.SelectedRows().front(), 0));
    listView_->selectionModel()->select(moved, QItemSelectionModel::ClearAndSelect);
  }
  ScriptOrOptionChanged();
}

void TFrmMain::ApplyFilter() {
  filterTimer_.stop();
  app_->session.model.filter = filter_->text().isEmpty() ? u"*.*" : FromQt(filter_->text());
  RefreshList();
}

void TFrmMain::AddFilterPresets(QMenu& menu, const std::vector<TMenuEntry>& entries) {
  for (const TMenuEntry& entry : entries) {
    if (entry.separator) {
      menu.addSeparator();
    } else if (!entry.children.empty()) {
      AddFilterPresets(*menu.addMenu(ToQt(entry.caption)), entry.children);
    } else {
      QAction* action = menu.addAction(ToQt(entry.caption), this, [this, text = entry.text] {
        filter_->setText(text == u"*.*" ? QString() : ToQt(text));
        ApplyFilter();
      });
      action->setEnabled(entry.enabled);
    }
  }
}

void TFrmMain::LoadFilterPresets() {
  std::vector<TMenuEntry> presets;
  const TStatus status = LoadFilterMenu(app_->session.fs, app_->session.appFolder, presets);
  if (!status.ok()) messages_.ConsoleError(status.Message());
  QMenu& menu = *filterPresets_->menu();
  menu.clear();
  AddFilterPresets(menu, presets);
}

bool TFrmMain::OfferRecovery() {
  TRenameJournal journal(app_->session.fs, app_->store.Folder() + u"/");
  if (!journal.Exists()) return true;
  const auto answer = QMessageBox::question(
      this, QStringLiteral("Tallowick"),
      tr("A rename or undo was cut short, and some files may still be under temporary or new "
         "names.\nPut them back under the names they had before that run?"));
  if (answer != QMessageBox::Yes) {
    messages_.ConsoleError(u"The files stay as they are; the next start asks again, or run "
                           u"tallowick --recover.");
    return false;
  }
  TRecoveryReport report;
  bool found = false;
  const TStatus status = journal.RecoverLeftOver(report, found);
  std::u16string text = report.complete && status.ok()
                            ? u"Every file of that run is back under its old name."
                            : u"Not every file of that run could be put back:";
  for (const std::u16string& line : report.problems) text += u"\n" + line;
  if (!status.ok()) text += u"\n" + status.Message();
  for (const std::u16string& line : report.moved) text += u"\nmoved " + line;
  if (!report.complete || !status.ok()) {
    messages_.ConsoleError(text);
    return false;
  }
  messages_.MessageBox(text);
  return true;
}

bool TFrmMain::Start(const std::vector<std::u16string>& args, int& exitCode) {
  if (!OfferRecovery()) {
    exitCode = 1;
    return false;
  }
  const TStatus opened = app_->Open(true);
  if (!opened.ok()) {
    messages_.ConsoleError(u"tallowick: " + opened.Message());
    exitCode = 1;
    return false;
  }
  LoadFilterPresets();
  std::vector<TMenuEntry> insertMenu;
  (void)LoadInsertMenu(app_->session.fs, app_->session.appFolder, insertMenu);
  scriptEditor_->StepEditor().SetInsertMenu(std::move(insertMenu));
  const TWindowParts parts{*this, *app_, *listView_, *listModel_, scriptEditor_->StepEditor(),
                           *panels_[2], [this] { Preview(); }, [this] { RefreshList(); }};
  InstallListDialogs(parts);
  InstallDesktopTools(parts);
  InstallTextFileWizard(parts);
  InstallColumnController(parts);
  const TfrmConfig& config = app_->config;
  TListColours colours;
  colours.toBeRenamed = ColourOf(config, TSetting::ColourToBeRenamed, colours.toBeRenamed);
  colours.collision = ColourOf(config, TSetting::ColourCollisionsFore, colours.collision);
  listModel_->SetColours(colours);
  InstallConfigDialog(parts, shell_);
  const TCommandLineOutcome outcome =
      app_->Start(TFrmDummyInstance::FromArguments(u"tallowick", args));
  exitCode = outcome.exitCode;
  if (outcome.endProgram) return false;
  ApplyWindowState();
  folderTree_->Start(app_->config, *menuBar());
  AfterListChanged();
  return true;
}

void TFrmMain::TakeCommandLine(const std::u16string& text) {
  if (Busy()) return;
  app_->HandOver(text);
  AfterListChanged();
  if (!app_->DefaultScriptName().empty()) LoadScript(app_->DefaultScriptName());
  raise();
  activateWindow();
}

void TFrmMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (activated_) return;
  activated_ = true;
  WatchFolder();
  // The start-up script loads on the first activation, without a refresh.
  const std::u16string script = app_->DefaultScriptName();
  if (!script.empty() && app_->session.fs.Exists(script)) {
    std::vector<std::u16string> skipped;
    const std::u16string folder = app_->session.model.folder;
    if (app_->session.LoadScript(script, &skipped).ok()) {
      if (!app_->session.fs.DirectoryExists(app_->session.model.folder)) {
        app_->session.model.folder = folder;  // a folder that is gone is not taken
      }
      options_->Reload();
      scriptEditor_->Reload();
      ScriptOrOptionChanged();
    }
  }
}

bool TFrmMain::Busy() { return busy_ || app_->session.list.GetIgnoreInterface(); }

void TFrmMain::OpenFolder(const std::u16string& folder) {
  if (!app_->session.fs.DirectoryExists(folder)) {
    messages_.MessageBox(u"Unable to find the Path listed: \n" + folder);
    return;
  }
  app_->session.model.folder = CanonicalPath(folder);
  RefreshList();
}

void TFrmMain::RefreshList(bool recursive) {
  if (Busy()) return;
  {
    const TBusy busy(busy_);
    progress_->Reset();
    panels_[2]->setText(tr("Reading Folder..."));
    // The rows show while the scan runs; no reset of the whole model after it.
    TIncrementalScan(app_->session, *listModel_, *progress_).Run(recursive);
  }
  AfterListShown();
  // After the status panels, which would otherwise hide it at once.
  if (progress_->Cancelled()) panels_[2]->setText(tr("Scan cancelled"));
}

void TFrmMain::AfterListChanged() {
  listModel_->Reload();
  AfterListShown();
}

void TFrmMain::AfterListShown() {
  ShowFolder();
  ShowStatus(app_->session.Status({}));
  ScriptOrOptionChanged();
}

void TFrmMain::WatchFolder() {
  if (!activated_ || !app_->session.fs.DirectoryExists(app_->session.model.folder)) return;
  const int before = monitor_.Descriptor();
  monitor_.SetFolder(app_->session.model.folder);
  if (monitor_.Descriptor() == before) return;
  monitorNotifier_.reset();
  if (monitor_.Descriptor() < 0) return;
  monitorNotifier_ = std::make_unique<QSocketNotifier>(monitor_.Descriptor(), QSocketNotifier::Read);
  connect(monitorNotifier_.get(), &QSocketNotifier::activated, this, &TFrmMain::FolderChanged);
}

void TFrmMain::FolderChanged() {
  if (!monitor_.TakeChange()) return;
  monitorNotifier_.reset();
  QTimer::singleShot(10, this, [this] {
    if (QMessageBox::question(this, QStringLiteral("Tallowick"),
                              QStringLiteral("Folder has changed, refresh?")) == QMessageBox::Yes) {
      RefreshList();
    }
  });
}

void TFrmMain::ShowFolder() {
  const QString folder = ToQt(app_->session.model.folder);
  setWindowTitle(ToQt(WindowCaption(version_, app_->session.model.folder)));
  RememberRecentFolder(app_->config, app_->session.model.folder);
  const QSignalBlocker quiet(folderBox_);
  folderBox_->clear();
  for (const std::u16string& recent : RecentFolders(app_->config)) folderBox_->addItem(ToQt(recent));
  folderBox_->setCurrentText(folder);
  folderTree_->ShowFolder(folder);
  WatchFolder();
}

void TFrmMain::ShowStatus(const std::array<std::u16string, 3>& panels) {
  for (size_t i = 0; i < panels.size(); ++i) panels_[i]->setText(ToQt(panels[i]));
}

void TFrmMain::ScriptOrOptionChanged() {
  if (autoPreview_->isChecked()) previewTimer_.start();
}

void TFrmMain::Preview() {
  if (Busy()) return;
  previewTimer_.stop();
  TPreviewResult result;
  {
    const TBusy busy(busy_);
    progress_->Reset();
    panels_[2]->setText(tr("Generating Preview"));
    result = app_->session.Preview(*progress_);
  }
  if (!result.ran) return;
  listModel_->Refreshed();
  ShowStatus(app_->session.Status(result));
  if (!result.readError.ok()) panels_[2]->setText(ToQt(result.readError.Message()));
}

void TFrmMain::Rename() {
  if (Busy()) return;
  previewTimer_.stop();
  // The run's own moves are no change to report.
  monitor_.Cancel();
  monitorNotifier_.reset();
  rename_->state.CurrentFileListIsRecursive = app_->session.list.ListIsRecursive();
  TRenameResult result;
  {
    const TBusy busy(busy_);
    progress_->Reset();
    result = rename_->btnRenameClick(*progress_, [this] {
      return QMessageBox::question(this, QStringLiteral("Tallowick"),
                                   tr("Show recursive list again?")) == QMessageBox::Yes;
    });
  }
  if (!result.journalStatus.ok()) messages_.ConsoleError(result.journalStatus.Message());
  if (!result.storeStatus.ok()) messages_.ConsoleError(result.storeStatus.Message());
  AfterListChanged();
}

void TFrmMain::Undo() {
  if (Busy()) return;
  monitor_.Cancel();
  monitorNotifier_.reset();
  const std::optional<TUndoResult> result =
      ShowUndoDialog(this, app_->session.fs, app_->undo, app_->store, *errors_);
  if (!result) return;
  if (!result->AllBack()) {
    std::u16string text = u"Some entries are not back under their old names:";
    for (const TRenamePair& entry : result->notBack) {
      text += u"\n" + entry.oldName +
              (entry.newName.empty() ? u": not found under its new name"
                                     : u": its old name is taken; it stays at " + entry.newName);
    }
    messages_.ConsoleError(text);
  }
  if (!result->status.ok()) messages_.ConsoleError(u"Undo: " + result->status.Message());
  RefreshList();
}

void TFrmMain::QuickEdit(int row, const QString& name) {
  if (Busy()) return;
  monitor_.Cancel();
  monitorNotifier_.reset();
  const TRenameInPlaceResult result =
      RenameInPlace(app_->session, row, FromQt(name), app_->undo, app_->store);
  if (!result.status.ok()) {
    messages_.ConsoleError(std::u16string(kCannotRenameFile) + u"\n" + result.status.Message());
  } else if (!result.storeStatus.ok()) {
    messages_.ConsoleError(u"The rename cannot be undone: " + result.storeStatus.Message());
  }
  listModel_->Refreshed();
  ScriptOrOptionChanged();
}

void TFrmMain::LoadScript(const std::u16string& path) {
  std::vector<std::u16string> skipped;
  const std::u16string folder = app_->session.model.folder;
  const std::u16string filter = app_->session.model.filter;
  const TStatus status = app_->session.LoadScript(path, &skipped);
  for (const std::u16string& line : skipped) messages_.ConsoleError(line);
  if (!status.ok()) {
    messages_.ConsoleError(status.Message());
    return;
  }
  options_->Reload();
  scriptEditor_->Reload();
  if (app_->session.model.folder != folder || app_->session.model.filter != filter) {
    if (!app_->session.fs.DirectoryExists(app_->session.model.folder)) {
      app_->session.model.folder = folder;
    }
    RefreshList();
  } else {
    ScriptOrOptionChanged();
  }
}

void TFrmMain::SaveScript(const std::u16string& path) {
  const TStatus status =
      SaveToFile(app_->session.script, app_->session.twscript, app_->session.fs, path);
  if (!status.ok()) messages_.ConsoleError(status.Message());
}

void TFrmMain::ApplyWindowState() {
  const QRect screen = QGuiApplication::primaryScreen() != nullptr
                           ? QGuiApplication::primaryScreen()->availableGeometry()
                           : QRect(0, 0, 1280, 800);
  const TWindowPlacement place = StartPlacement(app_->config, {screen.width(), screen.height()});
  if (place.applySize) resize(place.size.x, place.size.y);
  else resize(1100, 700);
  if (place.kind == TWindowPlacement::AtPosition) move(place.position.x, place.position.y);
  if (place.kind == TWindowPlacement::Maximized) setWindowState(Qt::WindowMaximized);
}

void TFrmMain::SaveWindowState() {
  TfrmConfig& config = app_->config;
  config.SetInteger(TSetting::WindowX, x());
  config.SetInteger(TSetting::WindowY, y());
  config.SetInteger(TSetting::WindowWD, width());
  config.SetInteger(TSetting::WindowHT, height());
  config.SetLastFolder(app_->session.model.folder);
  folderTree_->Remember(config);
  (void)config.SaveConfig();
}

void TFrmMain::closeEvent(QCloseEvent* event) {
  if (busy_) {
    progress_->Cancel();
    event->ignore();
    return;
  }
  SaveWindowState();
  app_->Close();
  event->accept();
}

void TFrmMain::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TFrmMain::dropEvent(QDropEvent* event) {
  std::vector<std::u16string> args;
  for (const QUrl& url : event->mimeData()->urls()) {
    if (url.isLocalFile()) args.push_back(FromQt(url.toLocalFile()));
  }
  if (args.empty()) return;
  event->acceptProposedAction();
  // A drop takes the path a start with the same arguments takes.
  TakeCommandLine(JoinCommandLine([&] {
    std::vector<std::u16string> line = {u"tallowick"};
    line.insert(line.end(), args.begin(), args.end());
    return line;
  }()));
}
