#include "ui/UnitExcludeDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/UnitQtText.h"

TFrmExcludeDialog::TFrmExcludeDialog(const TFrmExclude& list,
                                     std::function<TStatus(const TFrmExclude&)> save,
                                     QWidget* parent)
    : QDialog(parent), list_(list), save_(std::move(save)) {
  setObjectName(QStringLiteral("frmExclude"));
  setWindowTitle(tr("Exclude List"));
  auto* intro = new QLabel(tr("Entries whose names match one of these names or masks "
                              "(\"*\", \"?\" and [a-z] allowed) are unchecked after every "
                              "refresh of the file list."),
                           this);
  intro->setWordWrap(true);
  masks_ = new QListWidget(this);
  masks_->setObjectName(QStringLiteral("lstExclude"));
  masks_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  mask_ = new QLineEdit(this);
  mask_->setObjectName(QStringLiteral("txtMask"));
  mask_->setPlaceholderText(tr("Name or mask, e.g. *.bak"));
  auto* add = new QPushButton(tr("&Add"), this);
  add->setObjectName(QStringLiteral("btnAdd"));
  auto* examples = new QPushButton(tr("E&xamples"), this);
  examples->setObjectName(QStringLiteral("btnExamples"));
  auto* exampleMenu = new QMenu(examples);
  for (const std::u16string& example : TFrmExclude::ExampleMasks()) {
    exampleMenu->addAction(ToQt(example), this, [this, example] {
      AddMask(ToQt(TFrmExclude::MaskOfExample(example)));
    });
  }
  examples->setMenu(exampleMenu);
  auto* remove = new QPushButton(tr("&Delete"), this);
  remove->setObjectName(QStringLiteral("btnDelete"));
  auto* clear = new QPushButton(tr("C&lear"), this);
  clear->setObjectName(QStringLiteral("btnClear"));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

  auto* entry = new QHBoxLayout;
  entry->addWidget(mask_, 1);
  entry->addWidget(add);
  entry->addWidget(examples);
  auto* side = new QVBoxLayout;
  side->addWidget(remove);
  side->addWidget(clear);
  side->addStretch(1);
  auto* middle = new QHBoxLayout;
  middle->addWidget(masks_, 1);
  middle->addLayout(side);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(intro);
  layout->addLayout(entry);
  layout->addLayout(middle, 1);
  layout->addWidget(buttons);

  add->setEnabled(false);
  connect(mask_, &QLineEdit::textChanged, add,
          [add](const QString& text) { add->setEnabled(!text.trimmed().isEmpty()); });
  connect(add, &QPushButton::clicked, this, [this] { AddMask(mask_->text()); });
  connect(remove, &QPushButton::clicked, this, &TFrmExcludeDialog::DeleteSelected);
  connect(clear, &QPushButton::clicked, this, [this] {
    list_.Clear();
    ShowMasks();
  });
  connect(buttons, &QDialogButtonBox::accepted, this, &TFrmExcludeDialog::Save);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  // Enter adds the mask in the box; it does not close the dialog.
  for (QPushButton* button : findChildren<QPushButton*>()) button->setAutoDefault(false);
  add->setDefault(true);
  ShowMasks();
  mask_->setFocus();
  resize(460, 360);
}

void TFrmExcludeDialog::AddMask(const QString& mask) {
  const std::u16string text = FromQt(mask.trimmed());
  (void)list_.Add(text);  // a mask listed already stays once
  ShowMasks();
  for (int row = 0; row < masks_->count(); ++row) {
    if (masks_->item(row)->text().compare(ToQt(text), Qt::CaseInsensitive) == 0) {
      masks_->setCurrentRow(row);
    }
  }
  mask_->clear();
}

void TFrmExcludeDialog::DeleteSelected() {
  for (const QListWidgetItem* item : masks_->selectedItems()) {
    (void)list_.Delete(FromQt(item->text()));
  }
  ShowMasks();
}

void TFrmExcludeDialog::ShowMasks() {
  masks_->clear();
  for (const std::u16string& mask : list_.Masks()) masks_->addItem(ToQt(mask));
}

void TFrmExcludeDialog::Save() {
  const TStatus status = save_ ? save_(list_) : TStatus::Ok();
  if (!status.ok()) {
    QMessageBox::warning(this, windowTitle(), ToQt(status.Message()));
    return;
  }
  accept();
}
