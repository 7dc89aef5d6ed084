// "Renaming Error": a failed move shown with the system's reason, the current
// and the new name, and the two answers "&Ignore Errors" (no further dialogs
// in this run) and "&Stop and Undo" (Recommended), which reverses the run.
#pragma once

#include <QDialog>

#include "rename/UnitRenameErrorHandler.h"

class TRenameErrorDialog : public TRenameErrorHandler {
 public:
  explicit TRenameErrorDialog(QWidget* parent) : parent_(parent) {}
  TRenameErrorAnswer RenameFailed(const std::u16string& source, const std::u16string& target,
                                  const TStatus& status) override;

 private:
  QWidget* parent_;
};
