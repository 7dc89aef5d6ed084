// The "Textfile Import" wizard: five pages that walk through the text-file
// parameters with previews of what the file gives, and can make a one-step
// renaming script. The work is TTextFileImport's; the pages show and edit it.
#pragma once

#include <QWizard>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "session/UnitTextFileImport.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QSpinBox;
class QTableWidget;
class TSession;
struct TWindowParts;

class TFrmWizardTextfile : public QWizard {
  Q_OBJECT

 public:
  // REQUIRES: `session` outlives the wizard.
  explicit TFrmWizardTextfile(TSession& session, QWidget* parent = nullptr);
  ~TFrmWizardTextfile() override;

  // Takes `path` as the chosen text file, as "Browse" does after its dialog:
  // guesses the settings and shows the first lines.
  void ChooseFile(const QString& path);
  // The script "Finish" makes, as chosen on the last page.
  TImportScript ScriptKind() const;
  TTextFileImport& Import() { return import_; }

  // "Finish": hands everything over (asking first before steps that are
  // switched on are replaced) and closes.
  void accept() override;

 private:
  QWizardPage* IntroPage();
  QWizardPage* FilePage();
  QWizardPage* SettingsPage();
  QWizardPage* MatchingPage();
  QWizardPage* ScriptPage();
  // Shows the parameters in the controls of every page.
  void ShowParameters();
  void ShowFirstLines();
  void ShowFields();
  void ShowMatches();
  void ShowNewNames();
  // Whether the script may be replaced (true) or is joined (false), asked
  // when it has steps switched on; empty when the user cancelled.
  std::optional<bool> AskReplaceScript();

  TSession& session_;
  TTextFileImport import_;
  bool showing_ = false;  // controls are being filled, not edited
  QString shownFile_;     // the file whose first lines are shown
  QLineEdit* name_ = nullptr;
  QPlainTextEdit* firstLines_ = nullptr;
  QLabel* fileStatus_ = nullptr;
  QSpinBox* skip_ = nullptr;
  QCheckBox* split_ = nullptr;
  QLineEdit* delimiter_ = nullptr;
  QTableWidget* fields_ = nullptr;
  QLabel* fieldsStatus_ = nullptr;
  QRadioButton* byLine_ = nullptr;
  QRadioButton* bySearch_ = nullptr;
  QComboBox* searchWith_ = nullptr;
  QLineEdit* find_ = nullptr;
  QTableWidget* matches_ = nullptr;
  QButtonGroup* scriptKind_ = nullptr;
  QComboBox* column_ = nullptr;
  QTableWidget* newNames_ = nullptr;
};

// Adds Tools > "Textfile Import..." to the window. After "Finish" the text-file
// panel shows the new parameters, a new script is shown on the script page,
// and the preview runs.
void InstallTextFileWizard(const TWindowParts& window);
