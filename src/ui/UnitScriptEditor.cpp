#include "ui/UnitScriptEditor.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "cli/UnitStepCatalogue.h"
#include "engine/UnitAutoSplit.h"
#include "engine/UnitScriptActions.h"
#include "engine/UnitScriptStepMove.h"
#include "ui/UnitQtText.h"
#include "ui/UnitStepEditor.h"

namespace {

// The sentence as rich text: text parameters bold, choices underlined.
QString SentenceHtml(const TStepLine& line) {
  QString html = ToQt(line.prefix).toHtmlEscaped();
  for (const TSentenceWord& word : line.words) {
    const QString text = ToQt(word.text).toHtmlEscaped();
    html += QLatin1Char(' ');
    switch (word.kind) {
      case TSentenceWord::TKind::Text: html += "<b>'" + text + "'</b>"; break;
      case TSentenceWord::TKind::Choice: html += "<u>" + text + "</u>"; break;
      default: html += text;
    }
  }
  return html;
}

}  // namespace

TScriptEditor::TScriptEditor(TFrmScriptActions& script, const TAutoSplitSource& names,
                             QWidget* parent)
    : QWidget(parent),
      script_(script),
      names_(names),
      list_(new QListWidget(this)),
      stepEditor_(new TStepEditor(this)),
      addMenu_(new QMenu(tr("Add Step"), this)) {
  list_->setObjectName(QStringLiteral("scriptList"));
  list_->setDragDropMode(QAbstractItemView::InternalMove);
  list_->setContextMenuPolicy(Qt::ActionsContextMenu);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_, 2);
  BuildButtons();
  layout->addWidget(stepEditor_, 1);
  for (const TStepKindInfo& kind : StepKinds()) {
    const QString caption = kind.namedByCaption && !kind.caption.empty()
                                ? ToQt(kind.caption)
                                : tr("Step of TYPE %1").arg(static_cast<int>(kind.type));
    const TScriptType type = kind.type;
    addMenu_->addAction(caption, this, [this, type] {
      script_.NewScriptControl(type);
      Select(script_.Count() - 1);
    });
  }
  connect(list_, &QListWidget::currentRowChanged, this, [this] {
    if (!redrawing_) ShowStepEditor();
  });
  connect(list_->model(), &QAbstractItemModel::rowsMoved, this,
          [this](const QModelIndex&, int from, int, const QModelIndex&, int to) {
            if (redrawing_) return;
            const int target = to > from ? to - 1 : to;
            script_.MoveTo(from, target);
            Select(target);
          });
  const auto addContext = [this](const QString& text, const std::function<void()>& slot) {
    auto* action = new QAction(text, list_);
    connect(action, &QAction::triggered, this, slot);
    list_->addAction(action);
  };
  addContext(tr("Toggle Enable"), [this] { ToggleSelected(); });
  addContext(tr("Move Up"), [this] { MoveSelected(true); });
  addContext(tr("Move Down"), [this] { MoveSelected(false); });
  addContext(tr("Reset"), [this] { ResetSelected(); });
  addContext(tr("Delete"), [this] { DeleteSelected(); });
  Redraw();
}

void TScriptEditor::BuildButtons() {
  auto* row = new QHBoxLayout;
  auto* add = new QToolButton(this);
  add->setText(tr("Add Step"));
  add->setObjectName(QStringLiteral("addStep"));
  add->setPopupMode(QToolButton::InstantPopup);
  add->setMenu(addMenu_);
  row->addWidget(add);
  const auto button = [this, row](const QString& text, const QString& tip, auto slot) {
    auto* b = new QPushButton(text, this);
    b->setToolTip(tip);
    connect(b, &QPushButton::clicked, this, slot);
    row->addWidget(b);
  };
  button(tr("Up"), tr("Move up (shift=top)"), [this] { MoveSelected(true); });
  button(tr("Down"), tr("Move down (shift=bottom)"), [this] { MoveSelected(false); });
  button(tr("Toggle"), tr("Toggle Enable"), [this] { ToggleSelected(); });
  button(tr("Reset"), tr("Reset"), [this] { ResetSelected(); });
  button(tr("Delete"), tr("Delete   (Shift+Click = Reset)"), [this] { DeleteSelected(); });
  button(tr("Auto-Split"), tr("Propose the mask of a Split and Move step from the checked entries"),
         [this] { AutoSplitSelected(); });
  static_cast<QVBoxLayout*>(layout())->addLayout(row);
}

void TScriptEditor::Redraw() {
  redrawing_ = true;
  const int selected = list_->currentRow();
  list_->clear();
  const std::vector<TStepLine> lines = script_.Lines(true);
  for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
    auto* item = new QListWidgetItem(list_);
    auto* label = new QLabel(SentenceHtml(lines[static_cast<size_t>(i)]));
    label->setTextFormat(Qt::RichText);
    label->setEnabled(script_.Step(i).Enabled);  // disabled steps faded
    item->setToolTip(ToQt(lines[static_cast<size_t>(i)].Text()));
    item->setSizeHint(label->sizeHint());
    list_->setItemWidget(item, label);
  }
  if (selected >= 0 && selected < list_->count()) list_->setCurrentRow(selected);
  redrawing_ = false;
  ShowStepEditor();
}

int TScriptEditor::Selected() const { return list_->currentRow(); }

void TScriptEditor::Reload() {
  shownStep_ = nullptr;
  shownCount_ = -1;
  Redraw();
  // A loaded script shows its first step's controls.
  if (list_->currentRow() < 0 && list_->count() > 0) list_->setCurrentRow(0);
}

void TScriptEditor::Select(int index) {
  shownStep_ = nullptr;  // steps were added, moved or removed
  shownCount_ = -1;
  Redraw();
  if (index >= 0 && index < list_->count()) list_->setCurrentRow(index);
}

bool TScriptEditor::ShiftHeld() const {
  return (QApplication::keyboardModifiers() & Qt::ShiftModifier) != 0;
}

void TScriptEditor::ShowStepEditor() {
  const int row = Selected();
  TScriptStep* step = row >= 0 && row < script_.Count() ? &script_.Step(row) : nullptr;
  // The controls of the step being edited stay: an edit in them redraws the
  // sentences, never the box being typed in.
  if (step == shownStep_ && script_.Count() == shownCount_) return;
  shownStep_ = step;
  shownCount_ = script_.Count();
  stepEditor_->Show(step);
}

void TScriptEditor::MoveSelected(bool up) {
  const int row = Selected();
  if (row < 0) return;
  const bool shift = ShiftHeld();
  if (up) {
    script_.MoveUp(row, shift);
    Select(shift ? 0 : std::max(0, row - 1));
  } else {
    script_.MoveDown(row, shift);
    Select(shift ? script_.Count() - 1 : std::min(script_.Count() - 1, row + 1));
  }
}

void TScriptEditor::DeleteSelected() {
  const int row = Selected();
  if (row < 0) return;
  const bool shift = ShiftHeld();
  script_.Delete(row, shift);
  Select(shift ? row : std::min(row, script_.Count() - 1));
}

void TScriptEditor::ToggleSelected() {
  const int row = Selected();
  if (row < 0) return;
  script_.ToggleEnable(row);
  Select(row);
}

void TScriptEditor::ResetSelected() {
  const int row = Selected();
  if (row < 0) return;
  script_.ResetStep(row);
  Select(row);
}

void TScriptEditor::AutoSplitSelected() {
  const int row = Selected();
  if (row < 0 || script_.Step(row).ScriptType() != TScriptType::stSplitAndMove) return;
  const std::u16string mask = TAutoSplit().GetWildcardExpression(names_);
  if (mask.empty()) return;
  TScriptStep& step = script_.Step(row);
  step.SetText(TScriptStepSplitAndMove::txtFilemask, mask);
  step.SetText(TScriptStepSplitAndMove::txtMove, TAutoSplit::FormForMask(mask));
  Select(row);
}
