#include "ui/UnitStepEditor.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QSpinBox>
#include <map>

#include "engine/UnitScriptStep.h"
#include "ui/UnitQtText.h"

QString ParameterLabel(std::u16string_view name) {
  for (const std::u16string_view prefix : {u"txt", u"cbx", u"cb", u"rb", u"ud"}) {
    if (name.substr(0, prefix.size()) == prefix) {
      name.remove_prefix(prefix.size());
      break;
    }
  }
  const auto upper = [&](size_t i) { return i < name.size() && QChar(name[i]).isUpper(); };
  const auto lower = [&](size_t i) { return i < name.size() && QChar(name[i]).isLower(); };
  // A short group of capitals before a word names the step kind ("CESkip"): left out.
  size_t start = 0;
  while (upper(start)) ++start;
  start = start >= 2 && start <= 4 && lower(start) ? start - 1 : 0;
  QString label;
  for (size_t i = start; i < name.size(); ++i) {
    const QChar c(static_cast<char16_t>(name[i]));
    const bool wordStart = c.isUpper() && i > start && (lower(i - 1) || lower(i + 1));
    if (wordStart) label += QLatin1Char(' ');
    label += wordStart ? c.toLower() : c;
  }
  return label;
}

TStepEditor::TStepEditor(QWidget* parent) : QWidget(parent), form_(new QFormLayout(this)) {}

void TStepEditor::Show(TScriptStep* step) {
  while (form_->rowCount() > 0) form_->removeRow(0);
  step_ = step;
  if (step == nullptr) return;
  const auto params = step->Parameters();
  for (int i = 0; i < static_cast<int>(params.size()); ++i) {
    switch (params[static_cast<size_t>(i)].kind) {
      case TParamKind::Text: AddText(i); break;
      case TParamKind::Choice: AddChoice(i); break;
      case TParamKind::Flag: AddFlag(i); break;
    }
  }
}

void TStepEditor::AddText(int index) {
  const TParamDef& def = step_->Parameters()[static_cast<size_t>(index)];
  TScriptStep* step = step_;
  if (def.spinMax > 0) {
    auto* spin = new QSpinBox(this);
    spin->setRange(def.spinMin, def.spinMax);
    spin->setValue(step->IntegerParam(index, def.spinMin));
    connect(spin, &QSpinBox::valueChanged, this,
            [step, index](int value) { step->SetText(index, FromQt(QString::number(value))); });
    form_->addRow(ParameterLabel(def.name), spin);
    return;
  }
  auto* edit = new QLineEdit(ToQt(step->Text(index)), this);
  edit->setObjectName(ToQt(def.name));
  connect(edit, &QLineEdit::textEdited, this,
          [step, index](const QString& text) { step->SetText(index, FromQt(text)); });
  OfferInsertMenu(edit);
  form_->addRow(ParameterLabel(def.name), edit);
}

void TStepEditor::AddChoice(int index) {
  const TParamDef& def = step_->Parameters()[static_cast<size_t>(index)];
  TScriptStep* step = step_;
  auto* box = new QComboBox(this);
  box->setObjectName(ToQt(def.name));
  for (const std::u16string_view item : def.items) box->addItem(ToQt(item));
  box->setCurrentIndex(step->Choice(index));
  connect(box, &QComboBox::currentIndexChanged, this, [step, index](int value) {
    if (value >= 0) step->SetChoice(index, value);
  });
  form_->addRow(ParameterLabel(def.name), box);
}

void TStepEditor::AddFlag(int index) {
  const TParamDef& def = step_->Parameters()[static_cast<size_t>(index)];
  TScriptStep* step = step_;
  const QString caption = def.caption.empty() ? ParameterLabel(def.name) : ToQt(def.caption);
  QAbstractButton* button = nullptr;
  if (def.name.substr(0, 2) == u"rb") {
    button = new QRadioButton(caption, this);
    button->setAutoExclusive(false);  // the step's own rules keep one of a group on
  } else {
    button = new QCheckBox(caption, this);
  }
  button->setObjectName(ToQt(def.name));
  button->setChecked(step->Flag(index));
  connect(button, &QAbstractButton::toggled, this,
          [step, index](bool on) { step->SetFlag(index, on); });
  form_->addRow(button);
}

void TStepEditor::OfferInsertMenu(QLineEdit* edit) {
  edit->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(edit, &QWidget::customContextMenuRequested, this, [this, edit](const QPoint& at) {
    QMenu* menu = edit->createStandardContextMenu();
    menu->addSeparator();
    QMenu* insert = menu->addMenu(tr("Insert"));
    FillMenu(*insert, insertMenu_, edit);
    menu->exec(edit->mapToGlobal(at));
    delete menu;
  });
}

void TStepEditor::FillMenu(QMenu& menu, const std::vector<TMenuEntry>& entries, QLineEdit* edit) {
  for (const TMenuEntry& entry : entries) {
    if (entry.separator) {
      menu.addSeparator();
    } else if (!entry.children.empty()) {
      FillMenu(*menu.addMenu(ToQt(entry.caption)), entry.children, edit);
    } else {
      const QString text = ToQt(entry.text);
      QAction* action = menu.addAction(ToQt(entry.caption));
      action->setEnabled(entry.enabled);
      const TInsertAction kind = InsertActionOf(entry.text);
      if (kind != TInsertAction::InsertText) {
        connect(action, &QAction::triggered, edit, [this, edit, kind] {
          if (openPicker_) openPicker_(kind, edit);
        });
        continue;
      }
      connect(action, &QAction::triggered, edit, [edit, text] {
        edit->insert(text);
        emit edit->textEdited(edit->text());
      });
    }
  }
}
