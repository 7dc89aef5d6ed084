#include "ui/UnitMetaVariablePicker.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "filelist/UnitEntryColumns.h"
#include "platform/UnitFileSystem.h"
#include "session/UnitSession.h"
#include "ui/UnitQtText.h"

namespace {

constexpr int kThumbnailSide = 160;
// Larger files are not decoded for the thumbnail.
constexpr size_t kThumbnailMaxBytes = 32u << 20;

bool LooksLikeImage(std::u16string_view path) {
  const size_t dot = path.rfind(u'.');
  if (dot == std::u16string_view::npos) return false;
  const QString ext = ToQt(path.substr(dot + 1)).toLower();
  return ext == QLatin1String("jpg") || ext == QLatin1String("jpeg") ||
         ext == QLatin1String("png") || ext == QLatin1String("gif") ||
         ext == QLatin1String("bmp");
}

}  // namespace

std::u16string WithFormatPart(std::u16string_view variable, std::u16string_view format) {
  if (format.empty() || variable.size() < 2 || variable.back() != u'?') {
    return std::u16string(variable);
  }
  std::u16string text(variable.substr(0, variable.size() - 1));
  text += u':';
  text += format;
  text += u'?';
  return text;
}

TFrmMetaVariables::TFrmMetaVariables(TSession& session, std::u16string file, QWidget* parent)
    : QDialog(parent),
      session_(session),
      file_(std::move(file)),
      catalogue_(VariableCatalogue()),
      families_(VariableFamilies()) {
  setObjectName(QStringLiteral("frmMetaVariables"));
  setWindowTitle(tr("Insert Meta-Variables"));
  familyList_ = new QListWidget(this);
  familyList_->setObjectName(QStringLiteral("lstFamilies"));
  for (std::u16string_view family : families_) familyList_->addItem(ToQt(family));
  familyList_->setMaximumWidth(150);
  variables_ = new QTreeWidget(this);
  variables_->setObjectName(QStringLiteral("lstVariables"));
  variables_->setHeaderLabels({tr("Variable"), tr("Description")});
  variables_->setRootIsDecorated(false);
  variables_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  format_ = new QLineEdit(this);
  format_->setObjectName(QStringLiteral("txtFormat"));
  format_->setPlaceholderText(tr("e.g. FYYYY-MM-DD for a date"));
  value_ = new QLabel(this);
  value_->setObjectName(QStringLiteral("lblValue"));
  value_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  thumbnail_ = new QLabel(this);
  thumbnail_->setObjectName(QStringLiteral("imgThumbnail"));
  thumbnail_->setFixedSize(kThumbnailSide, kThumbnailSide);
  thumbnail_->setAlignment(Qt::AlignCenter);

  auto* form = new QFormLayout;
  form->addRow(tr("Format:"), format_);
  form->addRow(tr("File:"), new QLabel(file_.empty() ? tr("(no file selected)") : ToQt(file_)));
  form->addRow(tr("Value:"), value_);
  auto* lower = new QHBoxLayout;
  lower->addLayout(form, 1);
  lower->addWidget(thumbnail_);
  auto* upper = new QHBoxLayout;
  upper->addWidget(familyList_);
  upper->addWidget(variables_, 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
  QPushButton* insert = buttons->addButton(tr("Insert"), QDialogButtonBox::AcceptRole);
  insert->setObjectName(QStringLiteral("btnInsert"));
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(upper, 1);
  layout->addLayout(lower);
  layout->addWidget(buttons);
  resize(720, 480);

  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(familyList_, &QListWidget::currentRowChanged, this, &TFrmMetaVariables::FillFamily);
  connect(variables_, &QTreeWidget::currentItemChanged, this, [this] { ShowValue(); });
  connect(variables_, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);
  connect(format_, &QLineEdit::textChanged, this, [this] { ShowValue(); });
  familyList_->setCurrentRow(0);

  std::string bytes;
  if (!file_.empty() && LooksLikeImage(file_) &&
      session_.fs.ReadWholeFile(file_, bytes).ok() && bytes.size() <= kThumbnailMaxBytes) {
    const QImage image = QImage::fromData(reinterpret_cast<const uchar*>(bytes.data()),
                                          static_cast<int>(bytes.size()));
    if (!image.isNull()) {
      thumbnail_->setPixmap(QPixmap::fromImage(
          image.scaled(kThumbnailSide, kThumbnailSide, Qt::KeepAspectRatio,
                       Qt::SmoothTransformation)));
    }
  }
}

void TFrmMetaVariables::ShowFamily(std::u16string_view family) {
  for (size_t i = 0; i < families_.size(); ++i) {
    if (families_[i] == family) familyList_->setCurrentRow(static_cast<int>(i));
  }
}

bool TFrmMetaVariables::SelectVariable(std::u16string_view variable) {
  for (int i = 0; i < variables_->topLevelItemCount(); ++i) {
    QTreeWidgetItem* item = variables_->topLevelItem(i);
    if (item->text(0) == ToQt(variable)) {
      variables_->setCurrentItem(item);
      return true;
    }
  }
  return false;
}

void TFrmMetaVariables::FillFamily(int row) {
  variables_->clear();
  if (row < 0 || static_cast<size_t>(row) >= families_.size()) return;
  for (const TVariableRow& variable : catalogue_) {
    if (variable.family != families_[static_cast<size_t>(row)]) continue;
    auto* item = new QTreeWidgetItem({ToQt(variable.variable), ToQt(variable.caption)});
    item->setData(0, Qt::UserRole, variable.form);
    variables_->addTopLevelItem(item);
  }
  if (variables_->topLevelItemCount() > 0) variables_->setCurrentItem(variables_->topLevelItem(0));
}

std::u16string TFrmMetaVariables::Chosen() const {
  const QTreeWidgetItem* item = variables_->currentItem();
  if (item == nullptr) return {};
  return WithFormatPart(FromQt(item->text(0)), FromQt(format_->text()));
}

void TFrmMetaVariables::ShowValue() {
  const QTreeWidgetItem* item = variables_->currentItem();
  if (item == nullptr || file_.empty()) {
    value_->clear();
    return;
  }
  if (item->data(0, Qt::UserRole).toBool()) {
    value_->setText(tr("(fill in the parts in capitals)"));
    return;
  }
  RenameRecord record;
  const TStatus made = MakeSingleEntryRecord(session_.fs, session_.clock, file_, record);
  if (!made.ok()) {
    value_->setText(ToQt(made.Message()));
    return;
  }
  const TExpansion expansion = session_.vars.Expand(Chosen(), record);
  value_->setText(expansion.status.ok() ? ToQt(expansion.text) : ToQt(expansion.status.Message()));
}
