#include "ui/UnitRenameErrorDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/UnitQtText.h"

TRenameErrorAnswer TRenameErrorDialog::RenameFailed(const std::u16string& source,
                                                    const std::u16string& target,
                                                    const TStatus& status) {
  QDialog dialog(parent_, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  dialog.setObjectName(QStringLiteral("renamingError"));
  dialog.setWindowTitle(QStringLiteral("Renaming Error"));
  auto* layout = new QVBoxLayout(&dialog);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("ERROR:"), new QLabel(ToQt(status.reason())));
  form->addRow(QStringLiteral("Current Name:"), new QLabel(ToQt(source)));
  form->addRow(QStringLiteral("New Name:    "), new QLabel(ToQt(target)));
  layout->addLayout(form);
  auto* buttons = new QDialogButtonBox(&dialog);
  QPushButton* ignore = buttons->addButton(QStringLiteral("&Ignore Errors"),
                                           QDialogButtonBox::RejectRole);
  QPushButton* stop = buttons->addButton(QStringLiteral("&Stop and Undo  (Recommended)"),
                                         QDialogButtonBox::AcceptRole);
  ignore->setObjectName(QStringLiteral("ignoreErrors"));
  stop->setObjectName(QStringLiteral("stopAndUndo"));
  stop->setDefault(true);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  layout->addWidget(buttons);
  return dialog.exec() == QDialog::Accepted ? TRenameErrorAnswer::Stop : TRenameErrorAnswer::Ignore;
}
