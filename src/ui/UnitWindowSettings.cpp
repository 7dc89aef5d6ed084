#include "ui/UnitWindowSettings.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTableView>
#include <algorithm>

#include "cli/UnitApplication.h"
#include "config/UnitColours.h"
#include "config/UnitColumnSizing.h"
#include "config/UnitShellIntegration.h"
#include "ui/UnitColumnController.h"
#include "ui/UnitConfigDialog.h"
#include "ui/UnitFileListModel.h"
#include "ui/UnitOptionPanels.h"
#include "ui/UnitQtText.h"
#include "ui/UnitScriptEditor.h"
#include "ui/UnitWindowParts.h"

namespace {

using S = TSetting;

// A colour reference resolved against the desktop's palette; RGB as it is.
QColor Resolve(TColour colour) {
  if (IsSystemColour(colour)) {
    const int index = colour & 0xFF;
    const QPalette palette = QApplication::palette();
    return index == kSystemWindow ? palette.color(QPalette::Base)
                                  : palette.color(QPalette::WindowText);
  }
  return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

// The palette of `widget` with its text and background from the settings;
// a colour still at its built-in value keeps the theme's.
void Paint(QWidget* widget, const TfrmConfig& config, TSetting fore, TSetting back) {
  if (widget == nullptr) return;
  QPalette palette = QApplication::palette(widget);
  const auto set = [&](TSetting id, std::initializer_list<QPalette::ColorRole> roles) {
    const TColour colour = config.Colour(id);
    if (colour == BuiltInColour(id, TSystemColours())) return;
    for (QPalette::ColorRole role : roles) palette.setColor(role, Resolve(colour));
  };
  set(fore, {QPalette::Text, QPalette::WindowText});
  set(back, {QPalette::Base, QPalette::Window});
  widget->setPalette(palette);
  widget->setAutoFillBackground(config.Colour(back) != BuiltInColour(back, TSystemColours()));
}

// The font of `widget` from a description; the default one keeps the theme's.
void SetFont(QWidget* widget, const TFontDescription& font) {
  if (widget == nullptr) return;
  const bool isDefault = font.name == kDefaultFontName && font.size == 9 && !font.bold &&
                         !font.italic;
  if (isDefault) {
    widget->setFont(QFont());
    return;
  }
  QFont qt(ToQt(font.name));
  if (font.size > 0) qt.setPointSize(font.size);
  qt.setBold(font.bold);
  qt.setItalic(font.italic);
  widget->setFont(qt);
}

void ApplyLook(const TWindowParts& window) {
  const TfrmConfig& config = window.app.config;
  TListColours colours = window.model.Colours();
  colours.toBeRenamed = Resolve(config.Colour(S::ColourToBeRenamed));
  colours.collision = Resolve(config.Colour(S::ColourCollisionsFore));
  window.model.SetColours(colours);
  Paint(&window.list, config, S::ColourFileListFore, S::ColourFileListBack);
  SetFont(&window.list, config.GetFont());
  window.list.verticalHeader()->setDefaultSectionSize(window.list.fontMetrics().height() + 6);
  QMainWindow& main = window.window;
  Paint(main.findChild<QComboBox*>(QStringLiteral("folderBox")), config, S::ColourPathFore,
        S::ColourPathBack);
  Paint(main.findChild<QLineEdit*>(QStringLiteral("filter")), config, S::ColourPathFore,
        S::ColourPathBack);
  Paint(main.findChild<TOptionPanels*>(), config, S::ColourOptionsFore, S::ColourOptionsBack);
  SetFont(main.findChild<TScriptEditor*>(), config.GetScriptFont());
  if (auto* autoPreview = main.findChild<QCheckBox*>(QStringLiteral("autoPreview"))) {
    autoPreview->setChecked(config.Flag(S::AutoPreview));
  }
  window.list.viewport()->update();
}

bool ChangesTheList(const std::vector<TSetting>& changed) {
  return std::any_of(changed.begin(), changed.end(), [](TSetting id) {
    return id == S::NoHiddenFiles || id == S::DontSelectFolders || id == S::FullDateTime ||
           id == S::FilterFolders || id == S::DisableIcons;
  });
}

bool Has(const std::vector<TSetting>& changed, TSetting id) {
  return std::find(changed.begin(), changed.end(), id) != changed.end();
}

void OpenDialog(const TWindowParts& window, TShellIntegration* shell) {
  TFrmConfigDialog dialog(window.app.config, shell, &window.window);
  if (dialog.exec() == QDialog::Accepted) ApplySettingsToWindow(window, dialog.Changed());
}

}  // namespace

void ApplySettingsToWindow(const TWindowParts& window, const std::vector<TSetting>& changed) {
  TfrmConfig& config = window.app.config;
  window.app.ApplySettings();
  ApplyLook(window);
  if (Has(changed, S::RememberColumnSizes)) {
    if (auto* columns = window.window.findChild<TColumnController*>()) {
      columns->ChooseSizing(config.Flag(S::RememberColumnSizes) ? SIZE_USER_WIDTH
                                                                : SIZE_AUTO_WIDTH);
      const TStatus saved = config.SaveConfig();
      if (!saved.ok()) window.status.setText(ToQt(saved.Message()));
    }
  }
  if (changed.empty()) return;
  if (window.refresh && ChangesTheList(changed)) window.refresh();
  window.preview();
}

void InstallConfigDialog(const TWindowParts& window, TShellIntegration* shell) {
  QMenuBar& bar = *window.window.menuBar();
  QMenu* tools = nullptr;
  for (QAction* top : bar.actions()) {
    if (top->menu() != nullptr && top->menu()->title().remove(QLatin1Char('&')) == "Tools") {
      tools = top->menu();
    }
  }
  if (tools == nullptr) {
    tools = new QMenu(QObject::tr("&Tools"), &window.window);
    bar.insertMenu(bar.actions().isEmpty() ? nullptr : bar.actions().back(), tools);
  }
  auto* item = new QAction(QObject::tr("Configuration..."), tools);
  item->setObjectName(QStringLiteral("mnuConfiguration"));
  item->setMenuRole(QAction::PreferencesRole);
  tools->insertAction(tools->actions().isEmpty() ? nullptr : tools->actions().front(), item);
  QObject::connect(item, &QAction::triggered, &window.window,
                   [window, shell] { OpenDialog(window, shell); });
  // The window's own box is the same setting as the dialog's.
  if (auto* autoPreview = window.window.findChild<QCheckBox*>(QStringLiteral("autoPreview"))) {
    QObject::connect(autoPreview, &QCheckBox::toggled, &window.window,
                     [&config = window.app.config](bool on) {
                       config.SetFlag(S::AutoPreview, on);
                     });
  }
  ApplyLook(window);
  if (shell != nullptr && window.app.config.Flag(S::OnContextMenu)) {
    std::u16string report;
    const TStatus status = shell->SetFolderMenu(true, report);
    if (!status.ok()) window.status.setText(ToQt(u"Folder menu: " + status.Message()));
  }
}
