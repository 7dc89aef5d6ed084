// "Exclude List": edits the names and masks whose entries are unchecked after
// every refresh, with the examples offered as presets. The dialog edits a
// copy; the caller keeps it only when the dialog is accepted.
#pragma once

#include <QDialog>
#include <functional>

#include "filelist/UnitExclude.h"
#include "platform/UnitStatus.h"

class QLineEdit;
class QListWidget;

class TFrmExcludeDialog : public QDialog {
  Q_OBJECT

 public:
  // `save` is called with the edited list when OK is pressed; the dialog
  // closes only when it succeeds and shows its error otherwise.
  TFrmExcludeDialog(const TFrmExclude& list, std::function<TStatus(const TFrmExclude&)> save,
                    QWidget* parent = nullptr);

  const TFrmExclude& List() const { return list_; }

 private:
  void AddMask(const QString& mask);
  void DeleteSelected();
  void ShowMasks();
  void Save();

  TFrmExclude list_;
  std::function<TStatus(const TFrmExclude&)> save_;
  QListWidget* masks_;
  QLineEdit* mask_;
};
