#include "ui/UnitOptionPanels.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "model/UnitMainModel.h"
#include "ui/UnitQtText.h"

namespace {

// A widget with a form layout to add rows to.
QWidget* FormPage(QFormLayout*& form) {
  auto* page = new QWidget;
  form = new QFormLayout(page);
  return page;
}

}  // namespace

TOptionPanels::TOptionPanels(TMainModel& model, std::function<void()> changed, QWidget* parent)
    : QTabWidget(parent), model_(model), changed_(std::move(changed)) {
  addTab(Counting(), tr("Counting"));
  addTab(Case(), tr("Case"));
  addTab(Matching(), tr("Matching"));
  addTab(TextFile(), tr("Text File"));
  Reload();
}

void TOptionPanels::Reload() {
  for (const auto& reload : reloads_) reload();
}

QWidget* TOptionPanels::Counting() {
  QFormLayout* form = nullptr;
  QWidget* page = FormPage(form);
  auto* position = new QRadioButton(tr("use position in list"), page);
  auto* startAt = new QRadioButton(tr("start counting at"), page);
  auto* start = new QLineEdit(page);
  auto* step = new QLineEdit(page);
  start->setObjectName(QStringLiteral("txtStartCountingAt"));
  step->setObjectName(QStringLiteral("txtIncrementBy"));
  form->addRow(position);
  form->addRow(startAt, start);
  form->addRow(tr("increment by"), step);
  reloads_.push_back([this, position, startAt, start, step] {
    position->setChecked(model_.usePositionInList);
    startAt->setChecked(!model_.usePositionInList);
    start->setText(ToQt(model_.startCountingAt));
    step->setText(ToQt(model_.incrementBy));
  });
  connect(position, &QRadioButton::toggled, this, [this](bool on) {
    model_.usePositionInList = on;
    changed_();
  });
  connect(start, &QLineEdit::textEdited, this, [this](const QString& text) {
    model_.startCountingAt = FromQt(text);
    changed_();
  });
  connect(step, &QLineEdit::textEdited, this, [this](const QString& text) {
    model_.incrementBy = FromQt(text);
    changed_();
  });
  return page;
}

QWidget* TOptionPanels::Case() {
  QFormLayout* form = nullptr;
  QWidget* page = FormPage(form);
  auto* change = new QCheckBox(tr("Change Case"), page);
  change->setObjectName(QStringLiteral("cbOverrideCase"));
  form->addRow(change);
  auto* modes = new QButtonGroup(page);
  static const char* const kModes[] = {"UPPERCASE", "lowercase", "Capitalize Every Word",
                                       "Capitalize first word", "Title Case"};
  for (int i = 0; i < 5; ++i) {
    auto* mode = new QRadioButton(tr(kModes[i]), page);
    modes->addButton(mode, i + 1);
    form->addRow(mode);
  }
  auto* keepExtension = new QCheckBox(tr("Preserve Extension"), page);
  auto* roman = new QCheckBox(tr("Detect and capitalize Roman Numerals"), page);
  form->addRow(keepExtension);
  form->addRow(roman);
  reloads_.push_back([this, change, modes, keepExtension, roman] {
    change->setChecked(model_.changeCase);
    if (QAbstractButton* mode = modes->button(static_cast<int>(model_.caseMode))) {
      mode->setChecked(true);
    }
    keepExtension->setChecked(model_.preserveExtension);
    roman->setChecked(model_.romanNumerals);
  });
  connect(change, &QCheckBox::toggled, this, [this](bool on) {
    model_.changeCase = on;
    changed_();
  });
  connect(modes, &QButtonGroup::idClicked, this, [this](int id) {
    model_.caseMode = static_cast<TCaseMode>(id);
    changed_();
  });
  connect(keepExtension, &QCheckBox::toggled, this, [this](bool on) {
    model_.preserveExtension = on;
    changed_();
  });
  connect(roman, &QCheckBox::toggled, this, [this](bool on) {
    model_.romanNumerals = on;
    changed_();
  });
  return page;
}

QWidget* TOptionPanels::Matching() {
  QFormLayout* form = nullptr;
  QWidget* page = FormPage(form);
  auto* wildcards = new QRadioButton(tr("Use Wildcards (? one character, * any run)"), page);
  auto* regExp = new QRadioButton(tr("Use full Regular Expressions"), page);
  regExp->setObjectName(QStringLiteral("rbRegExp"));
  form->addRow(wildcards);
  form->addRow(regExp);
  reloads_.push_back([this, wildcards, regExp] {
    wildcards->setChecked(!model_.useRegExp);
    regExp->setChecked(model_.useRegExp);
  });
  connect(regExp, &QRadioButton::toggled, this, [this](bool on) {
    model_.useRegExp = on;
    changed_();
  });
  return page;
}

QWidget* TOptionPanels::TextFile() {
  QFormLayout* form = nullptr;
  QWidget* page = FormPage(form);
  auto* name = new QLineEdit(page);
  name->setObjectName(QStringLiteral("txtTName"));
  auto* browse = new QPushButton(tr("Browse..."), page);
  auto* row = new QHBoxLayout;
  row->addWidget(name);
  row->addWidget(browse);
  form->addRow(tr("Text file"), row);
  auto* skip = new QLineEdit(page);
  form->addRow(tr("Skip lines"), skip);
  auto* split = new QCheckBox(tr("Split lines into fields"), page);
  auto* delimiter = new QLineEdit(page);
  form->addRow(split, delimiter);
  auto* byLine = new QRadioButton(tr("Match by line number"), page);
  auto* bySearch = new QRadioButton(tr("Match by searching for"), page);
  auto* find = new QLineEdit(page);
  form->addRow(byLine);
  form->addRow(bySearch, find);
  reloads_.push_back([this, name, skip, split, delimiter, byLine, bySearch, find] {
    name->setText(ToQt(model_.textFileName));
    skip->setText(ToQt(model_.textSkip));
    split->setChecked(model_.textSplitFields);
    delimiter->setText(ToQt(model_.textDelimiter));
    byLine->setChecked(model_.textMatch == TTextMatch::ByLineNumber);
    bySearch->setChecked(model_.textMatch == TTextMatch::BySearch);
    find->setText(ToQt(model_.textFind));
  });
  const auto text = [this](QLineEdit* edit, std::u16string TMainModel::*field) {
    connect(edit, &QLineEdit::textEdited, this, [this, field](const QString& value) {
      model_.*field = FromQt(value);
      changed_();
    });
  };
  text(name, &TMainModel::textFileName);
  text(skip, &TMainModel::textSkip);
  text(delimiter, &TMainModel::textDelimiter);
  text(find, &TMainModel::textFind);
  connect(split, &QCheckBox::toggled, this, [this](bool on) {
    model_.textSplitFields = on;
    changed_();
  });
  connect(bySearch, &QRadioButton::toggled, this, [this](bool on) {
    model_.textMatch = on ? TTextMatch::BySearch : TTextMatch::ByLineNumber;
    changed_();
  });
  connect(browse, &QPushButton::clicked, this, [this, name] {
    const QString file = QFileDialog::getOpenFileName(this, tr("Text file"), name->text());
    if (file.isEmpty()) return;
    name->setText(file);
    model_.textFileName = FromQt(file);
    changed_();
  });
  return page;
}
