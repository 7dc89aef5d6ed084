// "Tallowick - Configuration": the options of the settings object in tabs,
// the colours and fonts, the ten reserved-character replacements and the
// shell integration. The controls hold the edited values: "&Save" writes
// them into the settings and "tw.ini" at once, "&Cancel" leaves both as they
// were. The folder-menu box and "Create" act on the desktop at once.
#pragma once

#include <QDialog>
#include <QFont>
#include <array>
#include <string>
#include <vector>

#include "config/UnitColours.h"
#include "config/UnitSettingsTable.h"
#include "platform/UnitStatus.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class TfrmConfig;
class TShellIntegration;

class TFrmConfigDialog : public QDialog {
  Q_OBJECT

 public:
  // REQUIRES: `config` (and `shell`, when given) outlive the dialog. Without
  // a shell integration its tab says that none is available.
  TFrmConfigDialog(TfrmConfig& config, TShellIntegration* shell, QWidget* parent = nullptr);

  // The settings the last successful "&Save" changed.
  const std::vector<TSetting>& Changed() const { return changed_; }
  // The text of what the shell integration last wrote, removed or failed to.
  QString ShellReport() const;

  // Writes the controls' values into the settings and saves "tw.ini". On a
  // failed write every setting is put back as it was and the status names
  // the file and the reason.
  TStatus Commit();

 private:
  struct TCheck {
    TSetting id;
    QCheckBox* box;
    bool inverted;  // the box shows the negation of the stored flag
  };
  struct TSwatch {
    TSetting id;
    QPushButton* button;
    TColour colour;
  };

  QWidget* OptionsPage(int tab);
  QWidget* ColoursPage();
  QWidget* FontsBox();
  QWidget* ReservedPage();
  QWidget* ShellPage();
  void AddSwatch(class QGridLayout& grid, int row, int column, TSetting id, const char* caption);
  void ShowSwatch(const TSwatch& swatch);
  void ChooseColour(TSwatch& swatch);
  void ChooseListFont();
  void ChooseScriptFont();
  void ShowListFont();
  void SetFolderMenu(bool shown);
  void CreateSendTo();
  void ShowReport(const TStatus& status, const std::u16string& report);
  void Save();

  TfrmConfig& config_;
  TShellIntegration* shell_;
  QTabWidget* tabs_;
  std::vector<TCheck> checks_;
  std::vector<std::pair<TSetting, QLineEdit*>> texts_;
  std::vector<TSwatch> swatches_;
  QFont listFont_;
  QFont scriptFont_;
  QLabel* listFontLabel_ = nullptr;
  QLineEdit* scriptFontBox_ = nullptr;
  QCheckBox* folderMenu_ = nullptr;
  QLabel* shellReport_ = nullptr;
  std::vector<TSetting> changed_;
};
