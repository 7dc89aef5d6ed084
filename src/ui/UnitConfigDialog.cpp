#include "ui/UnitConfigDialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QValidator>
#include <QVBoxLayout>

#include "config/UnitConfig.h"
#include "config/UnitDesktopIntegration.h"
#include "config/UnitShellIntegration.h"
#include "ui/UnitQtText.h"

namespace {

using S = TSetting;

enum TTab { kGeneral, kRenaming, kScript, kFileList, kColours, kReserved, kShell, kTabCount };
constexpr const char* kTabCaptions[kTabCount] = {
    "General", "Renaming", "Script", "File List", "Colours and Fonts", "Reserved Characters",
    "Shell Integration"};

// One check box: the setting it edits, its page and, optionally, the group
// box it sits in (consecutive rows of one group share the box). An inverted
// box shows the negation of the stored flag.
struct TCheckOption {
  TSetting id;
  TTab tab;
  const char* caption;
  const char* group = nullptr;
  bool inverted = false;
};

constexpr const char* kRemember = "Remember when Tallowick closes";
constexpr TCheckOption kCheckOptions[] = {
    {S::DontUseLastFolder, kGeneral, "Last Used Path", kRemember, true},
    {S::RememberPosition, kGeneral, "Window position", kRemember},
    {S::RememberSize, kGeneral, "Window size", kRemember},
    {S::RememberBrowserPane, kGeneral, "Browser Pane state", kRemember},
    {S::RememberColumnSizes, kGeneral, "Column sizes / Positions", kRemember},
    {S::OpenMaximized, kGeneral, "Open Maximized"},
    {S::AutoPreview, kRenaming, "Enable Auto-Preview mode"},
    {S::FilterFolders, kRenaming, "Enable the \"Filter\" for Folders names"},
    {S::NoHiddenFiles, kRenaming, "Disable showing hidden files"},
    {S::IgnoreEmpty, kRenaming, "Detect when meta-variables are empty or missing"},
    {S::DetectEnvVars, kRenaming, "Detect Windows environment variables (eg. %TEMP%)"},
    {S::AutoFormatPopup, kScript, "Enable 'Format Highlighted' popup for textboxes"},
    {S::ShowUpDown, kScript, "Show Up and Down buttons on each Step"},
    {S::AlwaysShowStepButtons, kScript, "Always show buttons on each Step"},
    {S::AlwaysShowStepDescriptions, kScript, "Always show full descriptions for each Step"},
    {S::AutoCollapse, kScript, "Auto-Collapse Steps"},
    {S::FullDateTime, kFileList, "Show the TIME in date fields"},
    {S::DisableIcons, kFileList, "Disable icons on file/preview lists"},
    {S::DontSelectFolders, kFileList, "Disable checking folders by default"},
    {S::NoIcache, kFileList, "Disable the thumbnail list icon cache"},
    {S::NoClearFilter, kFileList, "Disable auto-clear of Filter"},
    {S::UseEffects, kColours, "Use shading effects"},
};

struct TReservedBox {
  TSetting id;
  const char* character;
  const char* name;
};
constexpr TReservedBox kReservedBoxes[] = {
    {S::ReplaceBackslash, "\\", "backslash"}, {S::ReplaceSlash, "/", "slash"},
    {S::ReplaceColon, ":", "colon"},          {S::ReplaceAsterisk, "*", "asterisk"},
    {S::ReplaceQuestion, "?", "question mark"}, {S::ReplacePipe, "|", "vertical bar"},
    {S::ReplaceGreater, ">", "greater-than"}, {S::ReplaceLess, "<", "less-than"},
    {S::ReplaceQuote, "\"", "double quote"},  {S::ReplacePeriod, ".", "period"},
};

// One stored value of any form, as the settings object hands it out.
struct TSettingValue {
  int number = 0;
  std::u16string text;
  bool operator==(const TSettingValue&) const = default;
};

bool IsReplacement(TSetting id) { return id >= S::ReplaceBackslash && id <= S::ReplacePeriod; }

bool IsFlagForm(TSettingForm form) {
  return form == TSettingForm::YesNo || form == TSettingForm::Switch;
}

TSettingValue ValueOf(const TfrmConfig& config, TSetting id) {
  const TSettingForm form = SettingDef(id).form;
  if (form == TSettingForm::Text) return {0, config.Text(id)};
  return {IsFlagForm(form) ? int(config.Flag(id)) : config.Integer(id), {}};
}

void SetValue(TfrmConfig& config, TSetting id, const TSettingValue& value) {
  const TSettingForm form = SettingDef(id).form;
  if (form == TSettingForm::Text) {
    config.SetText(id, value.text);
  } else if (IsFlagForm(form)) {
    config.SetFlag(id, value.number != 0);
  } else {
    config.SetInteger(id, value.number);
  }
}

// A replacement box takes one character, or none. Characters that a file
// name cannot sensibly hold (controls) and halves of a surrogate pair, which
// would leave a broken character in every new name, are refused.
class TReplacementValidator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int&) const override {
    if (input.isEmpty()) return Acceptable;
    if (input.size() > 1) return Invalid;
    const QChar c = input.front();
    return c.isSurrogate() || c.unicode() < 0x20 || c.unicode() == 0x7F ? Invalid : Acceptable;
  }
};

QColor ToQColor(TColour colour) {
  const TColour rgb = ColorToRGB(colour, TSystemColours());
  return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

TColour FromQColor(const QColor& colour) {
  return colour.red() | (colour.green() << 8) | (colour.blue() << 16);
}

QFont FontOf(const TFontDescription& font) {
  QFont qt(ToQt(font.name));
  if (font.size > 0) qt.setPointSize(font.size);
  qt.setBold(font.bold);
  qt.setItalic(font.italic);
  return qt;
}

QString FontText(const QFont& font) {
  QString text = font.family() + QStringLiteral(", %1 pt").arg(font.pointSize());
  if (font.bold()) text += QObject::tr(", bold");
  if (font.italic()) text += QObject::tr(", italic");
  return text;
}

}  // namespace

TFrmConfigDialog::TFrmConfigDialog(TfrmConfig& config, TShellIntegration* shell, QWidget* parent)
    : QDialog(parent), config_(config), shell_(shell), tabs_(new QTabWidget(this)) {
  setObjectName(QStringLiteral("frmConfig"));
  setWindowTitle(QStringLiteral("Tallowick - Configuration"));
  tabs_->setUsesScrollButtons(false);  // every tab's caption in view
  listFont_ = FontOf(config.GetFont());
  scriptFont_ = FontOf(config.GetScriptFont());
  for (int tab = 0; tab < kTabCount; ++tab) {
    QWidget* page = tab == kColours    ? ColoursPage()
                    : tab == kReserved ? ReservedPage()
                    : tab == kShell    ? ShellPage()
                                       : OptionsPage(tab);
    tabs_->addTab(page, tr(kTabCaptions[tab]));
  }
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* save = buttons->addButton(tr("&Save"), QDialogButtonBox::AcceptRole);
  QPushButton* cancel = buttons->addButton(tr("&Cancel"), QDialogButtonBox::RejectRole);
  save->setObjectName(QStringLiteral("btnSave"));
  cancel->setObjectName(QStringLiteral("btnCancel"));
  save->setDefault(true);
  connect(save, &QPushButton::clicked, this, &TFrmConfigDialog::Save);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addWidget(buttons);
}

QWidget* TFrmConfigDialog::OptionsPage(int tab) {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  if (tab == kColours) layout->setContentsMargins(0, 0, 0, 0);  // inside the colours page
  QGroupBox* group = nullptr;
  for (const TCheckOption& option : kCheckOptions) {
    if (option.tab != tab) continue;
    auto* box = new QCheckBox(tr(option.caption), page);
    box->setObjectName(ToQt(SettingDef(option.id).key));
    box->setChecked(config_.Flag(option.id) != option.inverted);
    checks_.push_back({option.id, box, option.inverted});
    if (option.group == nullptr) {
      group = nullptr;
      layout->addWidget(box);
      continue;
    }
    if (group == nullptr || group->title() != tr(option.group)) {
      group = new QGroupBox(tr(option.group), page);
      new QVBoxLayout(group);
      layout->addWidget(group);
    }
    group->layout()->addWidget(box);
  }
  layout->addStretch();
  return page;
}

// --- colours and fonts -----------------------------------------------------------

QWidget* TFrmConfigDialog::ColoursPage() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  auto* colours = new QGroupBox(tr("Colours"), page);
  auto* grid = new QGridLayout(colours);
  const std::pair<TSetting, const char*> left[] = {
      {S::ColourFileListFore, "File list text"},
      {S::ColourFileListBack, "File list background"},
      {S::ColourToBeRenamed, "Names to be renamed"},
      {S::ColourCollisionsFore, "Names that collide"},
      {S::ColourPathFore, "Folder and filter text"},
      {S::ColourPathBack, "Folder and filter background"}};
  const std::pair<TSetting, const char*> right[] = {
      {S::ColourOptionsFore, "Renaming options text"},
      {S::ColourOptionsBack, "Renaming options background"},
      {S::ColourAddStep, "Add steps"},
      {S::ColourRemoveStep, "Remove steps"},
      {S::ColourReplaceStep, "Replace steps"},
      {S::ColourStepContainer, "Behind the steps"}};
  // Addresses stay put: the swatches are all made before any is connected.
  swatches_.reserve(std::size(left) + std::size(right));
  for (int row = 0; row < 6; ++row) {
    AddSwatch(*grid, row, 0, left[row].first, left[row].second);
    AddSwatch(*grid, row, 3, right[row].first, right[row].second);
  }
  grid->setColumnMinimumWidth(2, 24);  // a gap between the two columns
  for (TSwatch& swatch : swatches_) {
    connect(swatch.button, &QPushButton::clicked, this, [this, &swatch] { ChooseColour(swatch); });
  }
  auto* defaults = new QPushButton(tr("Default Colours"), colours);
  defaults->setObjectName(QStringLiteral("btnDefaultColours"));
  connect(defaults, &QPushButton::clicked, this, [this] {
    for (TSwatch& swatch : swatches_) {
      swatch.colour = BuiltInColour(swatch.id, TSystemColours());
      ShowSwatch(swatch);
    }
  });
  grid->addWidget(defaults, 6, 3, 1, 2, Qt::AlignRight);
  layout->addWidget(colours);
  layout->addWidget(OptionsPage(kColours));
  layout->addWidget(FontsBox());
  layout->addStretch();
  return page;
}

void TFrmConfigDialog::AddSwatch(QGridLayout& grid, int row, int column, TSetting id,
                                 const char* caption) {
  auto* button = new QPushButton(this);
  button->setObjectName(ToQt(SettingDef(id).key));
  button->setToolTip(tr("Choose the colour of: %1").arg(tr(caption)));
  button->setFixedWidth(56);
  grid.addWidget(new QLabel(tr(caption), this), row, column);
  grid.addWidget(button, row, column + 1);
  swatches_.push_back({id, button, config_.Colour(id)});
  ShowSwatch(swatches_.back());
}

void TFrmConfigDialog::ShowSwatch(const TSwatch& swatch) {
  QPixmap pixmap(36, 14);
  pixmap.fill(ToQColor(swatch.colour));
  QPainter(&pixmap).drawRect(0, 0, pixmap.width() - 1, pixmap.height() - 1);
  swatch.button->setIcon(QIcon(pixmap));
  swatch.button->setIconSize(pixmap.size());
}

void TFrmConfigDialog::ChooseColour(TSwatch& swatch) {
  QColorDialog chooser(ToQColor(swatch.colour), this);
  chooser.setObjectName(QStringLiteral("colourChooser"));
  chooser.setOption(QColorDialog::DontUseNativeDialog);
  if (chooser.exec() != QDialog::Accepted || !chooser.selectedColor().isValid()) return;
  swatch.colour = FromQColor(chooser.selectedColor());
  ShowSwatch(swatch);
}

QWidget* TFrmConfigDialog::FontsBox() {
  auto* box = new QGroupBox(tr("Fonts"), this);
  auto* grid = new QGridLayout(box);
  listFontLabel_ = new QLabel(box);
  listFontLabel_->setObjectName(QStringLiteral("lblListFont"));
  ShowListFont();
  auto* listButton = new QPushButton(tr("Change Font"), box);
  listButton->setObjectName(QStringLiteral("btnListFont"));
  connect(listButton, &QPushButton::clicked, this, &TFrmConfigDialog::ChooseListFont);
  scriptFontBox_ = new QLineEdit(ToQt(config_.Text(S::ScriptFontBoxName)), box);
  scriptFontBox_->setObjectName(QStringLiteral("txtScriptFontName"));
  texts_.emplace_back(S::ScriptFontBoxName, scriptFontBox_);
  auto* scriptButton = new QPushButton(tr("Change Font"), box);
  scriptButton->setObjectName(QStringLiteral("btnScriptFont"));
  connect(scriptButton, &QPushButton::clicked, this, &TFrmConfigDialog::ChooseScriptFont);
  grid->addWidget(new QLabel(tr("File list:"), box), 0, 0);
  grid->addWidget(listFontLabel_, 0, 1);
  grid->addWidget(listButton, 0, 2);
  grid->addWidget(new QLabel(tr("Script:"), box), 1, 0);
  grid->addWidget(scriptFontBox_, 1, 1);
  grid->addWidget(scriptButton, 1, 2);
  grid->setColumnStretch(1, 1);
  return box;
}

void TFrmConfigDialog::ShowListFont() {
  listFontLabel_->setText(FontText(listFont_));
  listFontLabel_->setFont(listFont_);
}

void TFrmConfigDialog::ChooseListFont() {
  bool chosen = false;
  const QFont font = QFontDialog::getFont(&chosen, listFont_, this, tr("File list font"),
                                          QFontDialog::DontUseNativeDialog);
  if (!chosen) return;
  listFont_ = font;
  ShowListFont();
}

void TFrmConfigDialog::ChooseScriptFont() {
  QFont preset = scriptFont_;
  preset.setFamily(scriptFontBox_->text());
  bool chosen = false;
  const QFont font = QFontDialog::getFont(&chosen, preset, this, tr("Script font"),
                                          QFontDialog::DontUseNativeDialog);
  if (!chosen) return;
  scriptFont_ = font;
  scriptFontBox_->setText(font.family());
}

// --- reserved characters ---------------------------------------------------------

QWidget* TFrmConfigDialog::ReservedPage() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  auto* note = new QLabel(
      tr("A meta-variable's value may hold characters that do not belong in a file name. Each "
         "of them is written as the character given here. An empty box keeps the replacement "
         "in use."),
      page);
  note->setWordWrap(true);
  layout->addWidget(note);
  auto* grid = new QGridLayout;
  int index = 0;
  for (const TReservedBox& reserved : kReservedBoxes) {
    auto* edit = new QLineEdit(page);
    edit->setObjectName(ToQt(SettingDef(reserved.id).key));
    edit->setValidator(new TReplacementValidator(edit));
    edit->setText(ToQt(std::u16string_view(config_.Text(reserved.id)).substr(0, 1)));
    edit->setFixedWidth(40);
    edit->setAlignment(Qt::AlignCenter);
    texts_.emplace_back(reserved.id, edit);
    auto* label = new QLabel(
        tr("%1   (%2)  becomes").arg(QString::fromLatin1(reserved.character), tr(reserved.name)),
        page);
    label->setBuddy(edit);
    const int row = index % 5;
    const int column = index / 5 * 3;
    grid->addWidget(label, row, column);
    grid->addWidget(edit, row, column + 1);
    ++index;
  }
  grid->setColumnMinimumWidth(2, 40);
  grid->setColumnStretch(5, 1);
  layout->addLayout(grid);
  layout->addStretch();
  return page;
}

// --- shell integration -----------------------------------------------------------

QWidget* TFrmConfigDialog::ShellPage() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  auto* folders = new QGroupBox(tr("Folders"), page);
  auto* foldersLayout = new QVBoxLayout(folders);
  folderMenu_ = new QCheckBox(tr("Show Tallowick on a folder's right-click menu"), folders);
  folderMenu_->setObjectName(QStringLiteral("OnContextMenu"));
  auto* folderNote = new QLabel(
      tr("Takes effect at once: file managers offer \"Tallowick\" on folders."), folders);
  folderNote->setWordWrap(true);
  foldersLayout->addWidget(folderMenu_);
  foldersLayout->addWidget(folderNote);
  auto* sendTo = new QGroupBox(tr("Selected files"), page);
  auto* sendToLayout = new QHBoxLayout(sendTo);
  auto* create = new QPushButton(tr("Create"), sendTo);
  create->setObjectName(QStringLiteral("btnCreateSendTo"));
  auto* sendToNote = new QLabel(
      tr("Adds Tallowick to the file managers' \"Open With\" menu for selected files."), sendTo);
  sendToNote->setWordWrap(true);
  sendToLayout->addWidget(sendToNote, 1);
  sendToLayout->addWidget(create, 0, Qt::AlignTop);
  shellReport_ = new QLabel(page);
  shellReport_->setObjectName(QStringLiteral("lblShellReport"));
  shellReport_->setWordWrap(true);
  shellReport_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(folders);
  layout->addWidget(sendTo);
  layout->addWidget(shellReport_);
  layout->addStretch();
  if (shell_ == nullptr) {
    folderMenu_->setEnabled(false);
    create->setEnabled(false);
    shellReport_->setText(tr("No desktop integration is available in this run."));
    return page;
  }
  // The box shows what is in place, whatever the settings file says.
  folderMenu_->setChecked(shell_->IsFolderMenuShown());
  connect(folderMenu_, &QCheckBox::toggled, this, &TFrmConfigDialog::SetFolderMenu);
  connect(create, &QPushButton::clicked, this, &TFrmConfigDialog::CreateSendTo);
  return page;
}

QString TFrmConfigDialog::ShellReport() const { return shellReport_->text(); }

void TFrmConfigDialog::ShowReport(const TStatus& status, const std::u16string& report) {
  shellReport_->setText(ToQt(report).trimmed());
  if (!status.ok()) {
    QMessageBox::warning(this, windowTitle(), ToQt(report).trimmed());
  }
}

void TFrmConfigDialog::SetFolderMenu(bool shown) {
  std::u16string report;
  const TStatus status = shell_->SetFolderMenu(shown, report);
  // The setting follows what is in place now, also after a partial failure,
  // and is stored at once so that the next start does not undo it.
  const bool inPlace = shell_->IsFolderMenuShown();
  config_.SetFlag(S::OnContextMenu, inPlace);
  const TStatus saved = config_.SaveSetting(S::OnContextMenu);
  if (!saved.ok()) report += u"Could not store the choice: " + saved.Message() + u"\n";
  {
    const QSignalBlocker quiet(folderMenu_);
    folderMenu_->setChecked(inPlace);
  }
  ShowReport(status.ok() ? saved : status, report);
}

void TFrmConfigDialog::CreateSendTo() {
  std::u16string report;
  const TStatus status = shell_->CreateSendTo(report);
  ShowReport(status, report);
  if (status.ok()) {
    QMessageBox::information(this, windowTitle(), ToQt(kSendToCreatedMessage));
  }
}

// --- saving ----------------------------------------------------------------------

TStatus TFrmConfigDialog::Commit() {
  std::vector<std::pair<TSetting, TSettingValue>> wanted;
  for (const TCheck& check : checks_) {
    wanted.push_back({check.id, {int(check.box->isChecked() != check.inverted), {}}});
  }
  for (const auto& [id, edit] : texts_) wanted.push_back({id, {0, FromQt(edit->text())}});
  for (const TSwatch& swatch : swatches_) wanted.push_back({swatch.id, {swatch.colour, {}}});
  struct TFontKeys {
    const QFont& font;
    TSetting name, size, bold, italic;
  };
  const TFontKeys fonts[] = {
      {listFont_, S::FontName, S::FontSize, S::FontBold, S::FontItalic},
      {scriptFont_, S::ScriptFontName, S::ScriptFontSize, S::ScriptFontBold, S::ScriptFontItalic}};
  for (const TFontKeys& keys : fonts) {
    wanted.push_back({keys.name, {0, FromQt(keys.font.family())}});
    // A font sized in pixels keeps the stored point size.
    const int size = keys.font.pointSize() > 0 ? keys.font.pointSize() : config_.Integer(keys.size);
    wanted.push_back({keys.size, {size, {}}});
    wanted.push_back({keys.bold, {int(keys.font.bold()), {}}});
    wanted.push_back({keys.italic, {int(keys.font.italic()), {}}});
  }

  std::vector<std::pair<TSetting, TSettingValue>> before;
  std::vector<TSetting> changed;
  for (const auto& [id, value] : wanted) {
    TSettingValue current = ValueOf(config_, id);
    // A replacement box shows only the first character of what is stored.
    const bool shownAsIs = IsReplacement(id) && !value.text.empty() &&
                           current.text.substr(0, 1) == value.text;
    if (current == value || shownAsIs) continue;
    before.push_back({id, std::move(current)});
    changed.push_back(id);
    SetValue(config_, id, value);
  }
  const TStatus saved = config_.SaveConfig();
  if (!saved.ok()) {
    for (const auto& [id, value] : before) SetValue(config_, id, value);
    return saved;
  }
  changed_ = std::move(changed);
  return saved;
}

void TFrmConfigDialog::Save() {
  const TStatus status = Commit();
  if (status.ok()) {
    accept();
    return;
  }
  QMessageBox::warning(this, windowTitle(),
                       ToQt(SaveConfigErrorText(status)) +
                           tr("\r\n\r\nNothing was changed. Correct the problem and save again, "
                              "or cancel."));
}
