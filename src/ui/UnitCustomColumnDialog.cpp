#include "ui/UnitCustomColumnDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/UnitColumnTypes.h"
#include "ui/UnitQtText.h"

namespace {

// The sort choices in the order of the drop-down list.
constexpr int kSortKinds[] = {SORT_AS_TEXT, SORT_AS_DATE, SORT_AS_NUMBER};

struct TExample {
  const char* title;
  const char16_t* data;
  int sortKind;
};
constexpr TExample kExamples[] = {
    {"MP3 - Track", u"?i_tr?", SORT_AS_NUMBER},   {"MP3 - Artist", u"?i_ar?", SORT_AS_TEXT},
    {"MP3 - Album", u"?i_al?", SORT_AS_TEXT},     {"JPEG - Date", u"?x_dt:Fyyyy-MM-dd?", SORT_AS_DATE},
    {"JPEG - Width", u"?J_W?", SORT_AS_NUMBER},   {"JPEG - Height", u"?J_H?", SORT_AS_NUMBER},
};

int ChoiceOf(int sortKind) {
  for (int i = 0; i < 3; ++i) {
    if (kSortKinds[i] == sortKind) return i;
  }
  return 0;
}

}  // namespace

TFrmCustomColumns::TFrmCustomColumns(const TCustomColumnDraft& draft,
                                     std::function<void(QLineEdit*)> insertVariable,
                                     QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("frmCustomColumns"));
  setWindowTitle(tr("Filelist Custom Column"));
  title_ = new QLineEdit(ToQt(draft.title), this);
  title_->setObjectName(QStringLiteral("txtColumnTitle"));
  data_ = new QLineEdit(ToQt(draft.data), this);
  data_->setObjectName(QStringLiteral("txtColumnData"));
  type_ = new QComboBox(this);
  type_->setObjectName(QStringLiteral("cbxType"));
  type_->addItems({tr("Text"), tr("Date"), tr("Number")});
  type_->setCurrentIndex(ChoiceOf(draft.sortKind));
  auto* insert = new QPushButton(tr("Insert..."), this);
  insert->setObjectName(QStringLiteral("btnInsertVariable"));
  auto* dataRow = new QHBoxLayout;
  dataRow->addWidget(data_, 1);
  dataRow->addWidget(insert);
  auto* form = new QFormLayout;
  form->addRow(tr("Column Title"), title_);
  form->addRow(tr("Column Data"), dataRow);
  form->addRow(tr("Sort data as"), type_);

  auto* examples = new QPushButton(tr("Examples"), this);
  examples->setObjectName(QStringLiteral("btnExamples"));
  auto* menu = new QMenu(examples);
  for (const TExample& example : kExamples) {
    menu->addAction(QString::fromLatin1(example.title), this, [this, example] {
      title_->setText(QString::fromLatin1(example.title));
      data_->setText(ToQt(example.data));
      type_->setCurrentIndex(ChoiceOf(example.sortKind));
    });
  }
  examples->setMenu(menu);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
  save_ = buttons->addButton(tr("Save Column"), QDialogButtonBox::AcceptRole);
  save_->setObjectName(QStringLiteral("btnSaveColumn"));
  save_->setEnabled(!title_->text().isEmpty());
  auto* lower = new QHBoxLayout;
  lower->addWidget(examples);
  lower->addStretch(1);
  lower->addWidget(buttons);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(lower);

  connect(title_, &QLineEdit::textChanged, this,
          [this](const QString& text) { save_->setEnabled(!text.isEmpty()); });
  connect(insert, &QPushButton::clicked, this, [this, insertVariable] {
    if (insertVariable) insertVariable(data_);
  });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

TCustomColumnDraft TFrmCustomColumns::Draft() const {
  return {FromQt(title_->text()), FromQt(data_->text()), kSortKinds[type_->currentIndex()]};
}
