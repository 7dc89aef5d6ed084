#include "ui/UnitCheckByPatternDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/UnitQtText.h"

TFrmFilter::TFrmFilter(const TCheckPattern& check,
                       std::function<TStatus(const TCheckPattern&)> apply, QWidget* parent)
    : QDialog(parent), apply_(std::move(apply)) {
  setObjectName(QStringLiteral("frmFilter"));
  setWindowTitle(tr("Check by Pattern"));
  pattern_ = new QLineEdit(ToQt(check.pattern), this);
  pattern_->setObjectName(QStringLiteral("txtPattern"));
  pattern_->selectAll();
  auto* action = new QGroupBox(tr("Matching entries"), this);
  selectOnly_ = new QRadioButton(tr("Select Only"), action);
  selectOnly_->setObjectName(QStringLiteral("rbSelectOnly"));
  select_ = new QRadioButton(tr("Select"), action);
  select_->setObjectName(QStringLiteral("rbSelect"));
  clear_ = new QRadioButton(tr("Clear"), action);
  clear_->setObjectName(QStringLiteral("rbClear"));
  selectOnly_->setToolTip(tr("Uncheck every entry, then check the matching ones"));
  select_->setToolTip(tr("Check the matching entries, leave the others"));
  clear_->setToolTip(tr("Uncheck the matching entries, leave the others"));
  (check.action == TCheckAction::Select  ? select_
   : check.action == TCheckAction::Clear ? clear_
                                         : selectOnly_)
      ->setChecked(true);
  auto* actions = new QVBoxLayout(action);
  actions->addWidget(selectOnly_);
  actions->addWidget(select_);
  actions->addWidget(clear_);
  folders_ = new QCheckBox(tr("&include folders"), this);
  folders_->setObjectName(QStringLiteral("cbIncludeFolders"));
  folders_->setChecked(check.includeFolders);
  regExp_ = new QCheckBox(tr("use full regular expressions"), this);
  regExp_->setObjectName(QStringLiteral("cbUseRegExp"));
  regExp_->setChecked(check.useRegExp);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

  auto* form = new QFormLayout;
  form->addRow(tr("Pattern"), pattern_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(action);
  layout->addWidget(folders_);
  layout->addWidget(regExp_);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &TFrmFilter::Apply);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  setMinimumWidth(340);
}

TCheckPattern TFrmFilter::Check() const {
  TCheckPattern check;
  check.pattern = FromQt(pattern_->text());
  check.action = select_->isChecked()  ? TCheckAction::Select
                 : clear_->isChecked() ? TCheckAction::Clear
                                       : TCheckAction::SelectOnly;
  check.includeFolders = folders_->isChecked();
  check.useRegExp = regExp_->isChecked();
  return check;
}

void TFrmFilter::Apply() {
  const TStatus status = apply_ ? apply_(Check()) : TStatus::Ok();
  if (!status.ok()) {
    QMessageBox::warning(this, windowTitle(),
                         pattern_->text() + QStringLiteral("\n") + ToQt(status.Message()).trimmed());
    return;
  }
  accept();
}
