#include "ui/UnitTextFileWizard.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "cli/UnitApplication.h"
#include "session/UnitSession.h"
#include "ui/UnitDesktopTools.h"
#include "ui/UnitOptionPanels.h"
#include "ui/UnitQtText.h"
#include "ui/UnitScriptEditor.h"
#include "ui/UnitWindowParts.h"

namespace {

constexpr int kFirstLines = 8;        // lines shown after a file was chosen
constexpr qsizetype kCellChars = 300;  // longer cell texts are cut, so a huge line stays cheap
constexpr int kMaxSkip = 99999999;

// A page whose "Next >" waits for `complete` and that refreshes on entering.
class TWizardPage : public QWizardPage {
 public:
  std::function<bool()> complete;
  std::function<void()> entered;
  bool isComplete() const override { return complete ? complete() : true; }
  void initializePage() override {
    if (entered) entered();
  }
  void Changed() { emit completeChanged(); }
};

TWizardPage* NewPage(const QString& title) {
  auto* page = new TWizardPage;
  page->setTitle(title);
  return page;
}

QString CellText(std::u16string_view text) {
  QString cell = ToQt(text.substr(0, static_cast<size_t>(kCellChars)));
  if (static_cast<qsizetype>(text.size()) > kCellChars) cell += QChar(0x2026);
  return cell;
}

QTableWidget* NewGrid(const QString& name, QWidget* parent) {
  auto* grid = new QTableWidget(parent);
  grid->setObjectName(name);
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setSelectionMode(QAbstractItemView::NoSelection);
  grid->verticalHeader()->hide();
  grid->horizontalHeader()->setStretchLastSection(true);
  grid->setWordWrap(false);
  grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
  return grid;
}

void FillGrid(QTableWidget& grid, const QStringList& headers,
              const std::vector<std::vector<std::u16string>>& rows) {
  grid.clear();
  grid.setColumnCount(static_cast<int>(headers.size()));
  grid.setHorizontalHeaderLabels(headers);
  grid.setRowCount(static_cast<int>(rows.size()));
  for (size_t r = 0; r < rows.size(); ++r) {
    for (size_t c = 0; c < rows[r].size(); ++c) {
      grid.setItem(static_cast<int>(r), static_cast<int>(c), new QTableWidgetItem(CellText(rows[r][c])));
    }
  }
  grid.resizeColumnsToContents();
  for (int c = 0; c + 1 < grid.columnCount(); ++c) {
    grid.setColumnWidth(c, std::clamp(grid.columnWidth(c), 70, 260));
  }
}

QLabel* NewStatus(QWidget* parent) {
  auto* status = new QLabel(parent);
  status->setWordWrap(true);
  status->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return status;
}

// The tab pages holding `widget` are brought to the front.
void ShowInTabs(QWidget* widget) {
  for (QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
    QWidget* stack = w->parentWidget();
    auto* tabs = stack != nullptr ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
    if (tabs != nullptr && tabs->indexOf(w) >= 0) tabs->setCurrentWidget(w);
  }
}

QMenu* ToolsMenu(QMenuBar& bar) {
  for (QAction* top : bar.actions()) {
    if (top->menu() != nullptr && top->text().remove(QLatin1Char('&')) == QStringLiteral("Tools")) {
      return top->menu();
    }
  }
  auto* tools = new QMenu(QObject::tr("&Tools"), &bar);
  bar.insertMenu(bar.actions().isEmpty() ? nullptr : bar.actions().back(), tools);
  return tools;
}

void OpenTextFileWizard(const TWindowParts& window) {
  TSession& session = window.app.session;
  if (session.list.GetIgnoreInterface()) return;
  TFrmWizardTextfile wizard(session, &window.window);
  if (wizard.exec() != QDialog::Accepted) return;
  if (auto* panels = window.window.findChild<TOptionPanels*>()) panels->Reload();
  if (wizard.ScriptKind() != TImportScript::None) {
    if (auto* editor = window.window.findChild<TScriptEditor*>()) {
      editor->Reload();
      editor->Select(session.script.Count() - 1);
      ShowInTabs(editor);
    }
  }
  window.preview();
}

}  // namespace

TFrmWizardTextfile::TFrmWizardTextfile(TSession& session, QWidget* parent)
    : QWizard(parent), session_(session), import_(session) {
  setObjectName(QStringLiteral("TFrmWizardTextfile"));
  setWindowTitle(tr("Textfile Import"));
  setWizardStyle(QWizard::ClassicStyle);
  setOption(QWizard::HaveFinishButtonOnEarlyPages);
  setButtonText(QWizard::BackButton, tr("< Back"));
  setButtonText(QWizard::NextButton, tr("Next >"));
  setButtonText(QWizard::FinishButton, tr("Finish"));
  setButtonText(QWizard::CancelButton, tr("Cancel"));
  addPage(IntroPage());
  addPage(FilePage());
  addPage(SettingsPage());
  addPage(MatchingPage());
  addPage(ScriptPage());
  ShowParameters();
  ShowFirstLines();
  resize(660, 440);
}

TFrmWizardTextfile::~TFrmWizardTextfile() = default;

QWizardPage* TFrmWizardTextfile::IntroPage() {
  TWizardPage* page = NewPage(tr("Textfile Import"));
  auto* layout = new QVBoxLayout(page);
  auto* text = new QLabel(tr("This wizard will help import data from a text file into variables."), page);
  text->setWordWrap(true);
  layout->addWidget(text);
  layout->addStretch();
  return page;
}

QWizardPage* TFrmWizardTextfile::FilePage() {
  TWizardPage* page = NewPage(tr("Step 1:   Select the text file or CSV file to import"));
  auto* layout = new QVBoxLayout(page);
  auto* row = new QHBoxLayout;
  name_ = new QLineEdit(page);
  name_->setObjectName(QStringLiteral("txtTName"));
  auto* browse = new QPushButton(tr("Browse"), page);
  browse->setObjectName(QStringLiteral("btnBrowse"));
  row->addWidget(name_, 1);
  row->addWidget(browse);
  layout->addLayout(row);
  firstLines_ = new QPlainTextEdit(page);
  firstLines_->setObjectName(QStringLiteral("firstLines"));
  firstLines_->setReadOnly(true);
  firstLines_->setLineWrapMode(QPlainTextEdit::NoWrap);
  firstLines_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  layout->addWidget(firstLines_, 1);
  fileStatus_ = NewStatus(page);
  fileStatus_->setObjectName(QStringLiteral("fileStatus"));
  layout->addWidget(fileStatus_);
  page->complete = [this] { return import_.FileExists(); };
  page->entered = [this] { name_->setFocus(); };
  connect(name_, &QLineEdit::textEdited, page, [this, page](const QString& text) {
    import_.parameters.txtTName = FromQt(text);
    page->Changed();
  });
  // A typed name counts as chosen once the user leaves the box.
  connect(name_, &QLineEdit::editingFinished, this, [this] {
    if (import_.FileExists() && shownFile_ != name_->text()) {
      ChooseFile(name_->text());
    }
  });
  connect(browse, &QPushButton::clicked, this, [this] {
    const QString path = QFileDialog::getOpenFileName(
        this, tr("Textfile Import"), ToQt(session_.appFolder),
        tr("Text files (txt,csv) (*.TXT *.CSV *.txt *.csv);;All files (*)"));
    if (!path.isEmpty()) ChooseFile(path);
  });
  return page;
}

QWizardPage* TFrmWizardTextfile::SettingsPage() {
  TWizardPage* page = NewPage(tr("Step 2:  Optionally correct the import settings"));
  auto* form = new QFormLayout(page);
  skip_ = new QSpinBox(page);
  skip_->setObjectName(QStringLiteral("txtTSkip"));
  skip_->setRange(0, kMaxSkip);
  form->addRow(tr("Initial lines to skip in the file"), skip_);
  split_ = new QCheckBox(tr("CSV format file with Fields separated by "), page);
  split_->setObjectName(QStringLiteral("cbTDelim"));
  delimiter_ = new QLineEdit(page);
  delimiter_->setObjectName(QStringLiteral("txtTDelim"));
  delimiter_->setMaxLength(3);
  delimiter_->setFixedWidth(delimiter_->fontMetrics().horizontalAdvance(QStringLiteral("TABWW")));
  auto* useTab = new QPushButton(tr("Use Tab"), page);
  useTab->setObjectName(QStringLiteral("btnUseTab"));
  auto* row = new QHBoxLayout;
  row->addWidget(split_);
  row->addWidget(delimiter_);
  row->addWidget(useTab);
  row->addStretch();
  form->addRow(row);
  fields_ = NewGrid(QStringLiteral("gridFields"), page);
  form->addRow(fields_);
  fieldsStatus_ = NewStatus(page);
  form->addRow(fieldsStatus_);
  page->entered = [this] { ShowFields(); };
  connect(skip_, &QSpinBox::valueChanged, this, [this](int value) {
    if (showing_) return;
    import_.parameters.txtTSkip = FromQt(QString::number(value));
    ShowFields();
  });
  connect(split_, &QCheckBox::toggled, this, [this](bool on) {
    if (showing_) return;
    import_.parameters.cbTDelim = on;
    ShowFields();
  });
  connect(delimiter_, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (showing_) return;
    import_.parameters.txtTDelim = FromQt(text);
    ShowFields();
  });
  connect(useTab, &QPushButton::clicked, this, [this] { delimiter_->setText(QStringLiteral("TAB")); });
  return page;
}

QWizardPage* TFrmWizardTextfile::MatchingPage() {
  TWizardPage* page = NewPage(tr("Step 3:   Define the way data is matched to a file"));
  auto* layout = new QVBoxLayout(page);
  byLine_ = new QRadioButton(
      tr("By Line Number:   file 1 to line 1, file 2 to line 2, ..., file X to line X"), page);
  byLine_->setObjectName(QStringLiteral("rbTMatch"));
  bySearch_ = new QRadioButton(tr("By Search: find the first line containing the"), page);
  bySearch_->setObjectName(QStringLiteral("rbTFind"));
  searchWith_ = new QComboBox(page);
  searchWith_->setObjectName(QStringLiteral("cbxSearchWith"));
  searchWith_->addItems({tr("Filename.ext"), tr("Filename"), tr("Custom Data")});
  find_ = new QLineEdit(page);
  find_->setObjectName(QStringLiteral("txtTFind"));
  auto* row = new QHBoxLayout;
  row->addWidget(bySearch_);
  row->addWidget(searchWith_);
  row->addWidget(find_, 1);
  row->addStretch();
  layout->addWidget(byLine_);
  layout->addLayout(row);
  matches_ = NewGrid(QStringLiteral("gridMatches"), page);
  layout->addWidget(matches_, 1);
  page->entered = [this] { ShowMatches(); };
  const auto edited = [this] {
    if (showing_) return;
    import_.parameters.Match =
        bySearch_->isChecked() ? TTextMatchMode::BySearch : TTextMatchMode::ByLineNumber;
    import_.parameters.cbxSearchWith = searchWith_->currentIndex();
    import_.parameters.txtTFind = FromQt(find_->text());
    find_->setVisible(searchWith_->currentIndex() == 2);
    ShowMatches();
  };
  connect(bySearch_, &QRadioButton::toggled, this, edited);
  connect(searchWith_, &QComboBox::currentIndexChanged, this, edited);
  connect(find_, &QLineEdit::textEdited, this, edited);
  return page;
}

QWizardPage* TFrmWizardTextfile::ScriptPage() {
  TWizardPage* page = NewPage(tr("Step 4:   Create a Renaming Script"));
  auto* layout = new QVBoxLayout(page);
  scriptKind_ = new QButtonGroup(page);
  const std::tuple<const char*, QString, TImportScript> kinds[] = {
      {"rbAddScript", tr("Add to Beginning/Ending of filename"), TImportScript::AddBeginningEnding},
      {"rbReplaceScript", tr("Replace entire filename"), TImportScript::ReplaceName},
      {"rbNoScript", tr("Do not create a renaming script"), TImportScript::None}};
  for (const auto& [name, caption, kind] : kinds) {
    auto* button = new QRadioButton(caption, page);
    button->setObjectName(QString::fromLatin1(name));
    scriptKind_->addButton(button, static_cast<int>(kind));
    layout->addWidget(button);
  }
  scriptKind_->button(static_cast<int>(TImportScript::AddBeginningEnding))->setChecked(true);
  column_ = new QComboBox(page);
  column_->setObjectName(QStringLiteral("cbxColumn"));
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel(tr("Column"), page));
  row->addWidget(column_);
  row->addStretch();
  layout->addLayout(row);
  newNames_ = NewGrid(QStringLiteral("gridNames"), page);
  layout->addWidget(newNames_, 1);
  page->entered = [this] {
    const QSignalBlocker quiet(column_);
    const int chosen = std::max(column_->currentIndex(), 0);
    column_->clear();
    for (const std::u16string& name : import_.FieldNames()) column_->addItem(ToQt(name));
    column_->setCurrentIndex(std::min(chosen, column_->count() - 1));
    ShowNewNames();
  };
  connect(scriptKind_, &QButtonGroup::idClicked, this, [this] { ShowNewNames(); });
  connect(column_, &QComboBox::currentIndexChanged, this, [this] { ShowNewNames(); });
  return page;
}

void TFrmWizardTextfile::ShowParameters() {
  showing_ = true;
  const TTextFileParameters& p = import_.parameters;
  name_->setText(ToQt(p.txtTName));
  skip_->setValue(std::clamp(SkipCountFromText(p.txtTSkip), 0, kMaxSkip));
  split_->setChecked(p.cbTDelim);
  delimiter_->setText(ToQt(p.txtTDelim));
  byLine_->setChecked(p.Match == TTextMatchMode::ByLineNumber);
  bySearch_->setChecked(p.Match == TTextMatchMode::BySearch);
  searchWith_->setCurrentIndex(std::clamp(p.cbxSearchWith, 0, 2));
  find_->setText(ToQt(p.txtTFind));
  find_->setVisible(searchWith_->currentIndex() == 2);
  showing_ = false;
}

void TFrmWizardTextfile::ChooseFile(const QString& path) {
  const TStatus status = import_.ChooseFile(FromQt(path));
  ShowParameters();
  ShowFirstLines();
  if (!status.ok()) fileStatus_->setText(ToQt(status.Message()));
  if (auto* page = dynamic_cast<TWizardPage*>(this->page(1))) page->Changed();
}

void TFrmWizardTextfile::ShowFirstLines() {
  shownFile_ = name_->text();
  std::vector<std::u16string> lines;
  const TStatus status = import_.FirstLines(kFirstLines, lines);
  QStringList shown;
  for (const std::u16string& line : lines) shown << CellText(line);
  firstLines_->setPlainText(shown.join(QLatin1Char('\n')));
  if (!status.ok()) {
    fileStatus_->setText(ToQt(status.Message()));
  } else if (import_.parameters.txtTName.empty()) {
    fileStatus_->setText(tr("Choose the file with \"Browse\" or type its full path."));
  } else if (!import_.FileExists()) {
    fileStatus_->setText(tr("There is no file \"%1\".").arg(name_->text()));
  } else if (lines.empty()) {
    fileStatus_->setText(tr("The file \"%1\" holds no lines.").arg(name_->text()));
  } else {
    fileStatus_->clear();
  }
}

void TFrmWizardTextfile::ShowFields() {
  const TStatus status = import_.Reload();
  QStringList headers;
  for (const std::u16string& name : import_.FieldNames()) headers << ToQt(name);
  FillGrid(*fields_, headers, import_.FieldRows());
  if (!status.ok()) {
    fieldsStatus_->setText(ToQt(status.Message()));
  } else if (session_.textFormat.Count() == 0) {
    fieldsStatus_->setText(tr("No lines are left after the skipped ones."));
  } else {
    fieldsStatus_->clear();
  }
}

void TFrmWizardTextfile::ShowMatches() {
  (void)import_.Reload();  // the settings page showed any error
  std::vector<std::vector<std::u16string>> rows;
  for (TImportMatch& match : import_.Matches()) {
    rows.push_back({std::move(match.name), std::move(match.lineNumber), std::move(match.line)});
  }
  FillGrid(*matches_, {tr("Filname"), tr("Line Number"), tr("Line")}, rows);
}

TImportScript TFrmWizardTextfile::ScriptKind() const {
  return static_cast<TImportScript>(scriptKind_->checkedId());
}

void TFrmWizardTextfile::ShowNewNames() {
  std::vector<std::vector<std::u16string>> rows;
  for (TImportNewName& entry : import_.NewNames(ScriptKind(), std::max(column_->currentIndex(), 0))) {
    rows.push_back({std::move(entry.name), std::move(entry.newName)});
  }
  FillGrid(*newNames_, {tr("Filename"), tr("New Name")}, rows);
  column_->setEnabled(ScriptKind() != TImportScript::None);
}

std::optional<bool> TFrmWizardTextfile::AskReplaceScript() {
  // Disabled steps do nothing (a fresh script is all of them): no need to ask.
  if (!session_.script.AnyEnabled()) return true;
  QMessageBox ask(QMessageBox::Question, tr("Textfile Import"),
                  tr("The script already has steps that are switched on. Replace the whole "
                     "script with the new step, or add it after them?"),
                  QMessageBox::Cancel, this);
  QPushButton* replace = ask.addButton(tr("Replace Script"), QMessageBox::AcceptRole);
  QPushButton* add = ask.addButton(tr("Add Step"), QMessageBox::AcceptRole);
  replace->setObjectName(QStringLiteral("btnReplaceScript"));
  add->setObjectName(QStringLiteral("btnAddStep"));
  ask.setDefaultButton(replace);
  ask.exec();
  if (ask.clickedButton() == replace) return true;
  if (ask.clickedButton() == add) return false;
  return std::nullopt;
}

void TFrmWizardTextfile::accept() {
  const TImportScript kind = ScriptKind();
  bool replace = true;
  if (kind != TImportScript::None) {
    const std::optional<bool> answer = AskReplaceScript();
    if (!answer) return;
    replace = *answer;
  }
  import_.Finish(kind, std::max(column_->currentIndex(), 0), replace);
  QWizard::accept();
}

void InstallTextFileWizard(const TWindowParts& window) {
  QMenuBar& bar = *window.window.menuBar();
  QAction* item = ToolsMenu(bar)->addAction(QObject::tr("Textfile Import..."));
  item->setObjectName(QStringLiteral("mnuTextfileImport"));
  QObject::connect(item, &QAction::triggered, &window.window,
                   [window] { OpenTextFileWizard(window); });
  // The new item takes its shortcut from "menu.ini" like the others.
  (void)ApplyMenuShortcuts(bar, window.app.session.fs, window.app.session.appFolder);
}
