// "Check by Pattern": the pattern, what to do with the matching entries
// ("Select Only", "Select", "Clear"), whether folders take part and whether
// the pattern is a regular expression.
#pragma once

#include <QDialog>
#include <functional>

#include "filelist/UnitCheckByPattern.h"
#include "platform/UnitStatus.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

class TFrmFilter : public QDialog {
  Q_OBJECT

 public:
  // `apply` is called with the choices when OK is pressed; the dialog closes
  // only when it succeeds and shows its error otherwise (a bad expression).
  TFrmFilter(const TCheckPattern& check, std::function<TStatus(const TCheckPattern&)> apply,
             QWidget* parent = nullptr);

  TCheckPattern Check() const;

 private:
  void Apply();

  std::function<TStatus(const TCheckPattern&)> apply_;
  QLineEdit* pattern_;
  QRadioButton* selectOnly_;
  QRadioButton* select_;
  QRadioButton* clear_;
  QCheckBox* folders_;
  QCheckBox* regExp_;
};
