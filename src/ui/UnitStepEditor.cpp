#include "ui/UnitStepEditor.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <map>

#include "engine/UnitScriptStep.h"
#include "ui/UnitQtText.h"
#include "ui/UnitStepLayout.h"

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

TStepEditor::TStepEditor(QWidget* parent) : QWidget(parent), outer_(new QVBoxLayout(this)) {
  outer_->setContentsMargins(0, 0, 0, 0);
}

void TStepEditor::Show(TScriptStep* step) {
  delete body_;  // never called from one of its own controls
  body_ = nullptr;
  step_ = step;
  if (step == nullptr) return;
  body_ = new QWidget(this);
  auto* lines = new QVBoxLayout(body_);
  lines->setContentsMargins(0, 0, 0, 0);
  for (const TLayoutLine& pieces : EditorLines(*step)) {
    auto* line = new QHBoxLayout;
    bool widens = false;  // text boxes take the width the line has to spare
    for (const TLayoutPiece& piece : pieces) {
      QWidget* widget = PieceWidget(piece, pieces.size());
      const bool edit = !widget->inherits("QAbstractSpinBox") &&
                        (qobject_cast<QLineEdit*>(widget) != nullptr ||
                         widget->findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly));
      line->addWidget(widget, edit ? 1 : 0);
      widens = widens || edit;
    }
    if (!widens) line->addStretch(1);
    lines->addLayout(line);
  }
  lines->addStretch(1);
  outer_->addWidget(body_);
}

QWidget* TStepEditor::PieceWidget(const TLayoutPiece& piece, size_t lineLength) {
  if (piece.parameter < 0) return new QLabel(ToQt(piece.label).simplified(), body_);
  const TParamDef& def = step_->Parameters()[static_cast<size_t>(piece.parameter)];
  QWidget* control = def.kind == TParamKind::Text     ? TextControl(piece.parameter)
                     : def.kind == TParamKind::Choice ? ChoiceControl(piece.parameter)
                                                      : FlagControl(piece.parameter);
  if (lineLength > 1 || def.kind == TParamKind::Flag) return control;
  // A control alone on its line, placed by no layout: say what it is.
  auto* labelled = new QWidget(body_);
  auto* row = new QHBoxLayout(labelled);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(new QLabel(ParameterLabel(def.name), labelled));
  row->addWidget(control);
  return labelled;
}

QWidget* TStepEditor::TextControl(int index) {
  const TParamDef& def = step_->Parameters()[static_cast<size_t>(index)];
  TScriptStep* step = step_;
  if (def.spinMax > 0) {
    auto* spin = new QSpinBox(body_);
    spin->setObjectName(ToQt(def.name));
    spin->setRange(def.spinMin, def.spinMax);
    spin->setValue(step->IntegerParam(index, def.spinMin));
    connect(spin, &QSpinBox::valueChanged, this,
            [step, index](int value) { step->SetText(index, FromQt(QString::number(value))); });
    return spin;
  }
  auto* edit = new QLineEdit(ToQt(step->Text(index)), body_);
  edit->setObjectName(ToQt(def.name));
  edit->setMinimumWidth(160);
  connect(edit, &QLineEdit::textEdited, this,
          [step, index](const QString& text) { step->SetText(index, FromQt(text)); });
  OfferInsertMenu(edit);
  return edit;
}

QWidget* TStepEditor::ChoiceControl(int index) {
  const TParamDef& def = step_->Parameters()[static_cast<size_t>(index)];
  TScriptStep* step = step_;
  auto* box = new QComboBox(body_);
  box->setObjectName(ToQt(def.name));
  for (const std::u16string_view item : def.items) box->addItem(ToQt(item));
  box->setCurrentIndex(step->Choice(index));
  connect(box, &QComboBox::currentIndexChanged, this, [step, index](int value) {
    if (value >= 0) step->SetChoice(index, value);
  });
  return box;
}

QWidget* TStepEditor::FlagControl(int index) {
  const TParamDef& def = step_->Parameters()[static_cast<size_t>(index)];
  TScriptStep* step = step_;
  const QString caption = def.caption.empty() ? ParameterLabel(def.name) : ToQt(def.caption);
  QAbstractButton* button = nullptr;
  if (def.name.substr(0, 2) == u"rb") {
    button = new QRadioButton(caption, body_);
    button->setAutoExclusive(false);  // the step's own rules keep one of a group on
  } else {
    button = new QCheckBox(caption, body_);
  }
  button->setObjectName(ToQt(def.name));
  button->setChecked(step->Flag(index));
  connect(button, &QAbstractButton::toggled, this,
          [step, index](bool on) { step->SetFlag(index, on); });
  return button;
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
