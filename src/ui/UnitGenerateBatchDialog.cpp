#include "ui/UnitGenerateBatchDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/UnitQtText.h"

TFrmGenerateBatchDialog::TFrmGenerateBatchDialog(
    const TfrmGenerateBatch& batch, std::function<bool(const TfrmGenerateBatch&, QWidget&)> save,
    QWidget* parent)
    : QDialog(parent), save_(std::move(save)) {
  setObjectName(QStringLiteral("frmGenerateBatch"));
  setWindowTitle(tr("Generate Batch File"));
  auto* intro = new QLabel(
      tr("The batch file is generated from the \"Name\" and \"New Name\" columns of the checked "
         "entries, as the preview shows them. It is a shell script in the application folder "
         "that renames them later when run with sh, in two steps through temporary names, as "
         "renaming does."),
      this);
  intro->setWordWrap(true);
  auto* warning = new QLabel(
      tr("Note that there is no error checking in this batch file, so use with extreme caution."),
      this);
  warning->setObjectName(QStringLiteral("lblWarning"));
  warning->setWordWrap(true);
  QFont bold = warning->font();
  bold.setBold(true);
  warning->setFont(bold);

  name_ = new QLineEdit(ToQt(batch.txtName), this);
  name_->setObjectName(QStringLiteral("txtName"));
  command_ = new QLineEdit(ToQt(batch.txtCommand), this);
  command_->setObjectName(QStringLiteral("txtCommand"));
  auto* nameRow = new QHBoxLayout;
  nameRow->addWidget(name_, 1);
  nameRow->addWidget(new QLabel(QStringLiteral(".sh"), this));
  auto* form = new QFormLayout;
  form->addRow(tr("Batch File Name"), nameRow);
  form->addRow(tr("Rename command to use"), command_);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
  saveButton_ = buttons->addButton(tr("Save"), QDialogButtonBox::AcceptRole);
  saveButton_->setObjectName(QStringLiteral("btnSave"));
  saveButton_->setEnabled(Batch().SaveEnabled());
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(intro);
  layout->addWidget(warning);
  layout->addLayout(form);
  layout->addWidget(buttons);

  connect(name_, &QLineEdit::textChanged, this,
          [this] { saveButton_->setEnabled(Batch().SaveEnabled()); });
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    if (!save_ || save_(Batch(), *this)) accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  setMinimumWidth(480);
}

TfrmGenerateBatch TFrmGenerateBatchDialog::Batch() const {
  TfrmGenerateBatch batch;
  batch.txtName = FromQt(name_->text());
  batch.txtCommand = FromQt(command_->text());
  return batch;
}
