#include "engine/UnitScriptStep.h"

#include <algorithm>

#include "platform/UnitText.h"

std::u16string SentenceText(const TSentence& sentence) {
  std::u16string out;
  for (const auto& word : sentence) {
    if (!out.empty()) out.push_back(u' ');
    if (word.kind == TSentenceWord::TKind::Text) {
      out += u"'" + word.text + u"'";
    } else {
      out += word.text;
    }
  }
  return out;
}

TScriptStep::TScriptStep(TScriptType type, std::span<const TParamDef> params)
    : scriptType_(type), params_(params), values_(params.size()) {
  for (int i = 0; i < static_cast<int>(params_.size()); ++i) SetDefault(i);
}

void TScriptStep::SetDefault(int index) {
  const TParamDef& def = params_[static_cast<size_t>(index)];
  TValue& value = values_[static_cast<size_t>(index)];
  value.text = std::u16string(def.defaultText);
  value.choice = def.defaultChoice;
  value.flag = def.defaultFlag;
}

int TScriptStep::FindParameter(std::u16string_view name) const {
  const std::u16string lower = LowerCase(name);
  for (size_t i = 0; i < params_.size(); ++i) {
    if (LowerCase(params_[i].name) == lower) return static_cast<int>(i);
  }
  return -1;
}

std::vector<int> TScriptStep::ParametersInFileOrder() const {
  std::vector<int> order;
  for (size_t i = 0; i < params_.size(); ++i) {
    if (params_[i].stored) order.push_back(static_cast<int>(i));
  }
  std::sort(order.begin(), order.end(), [this](int a, int b) {
    return LowerCase(params_[static_cast<size_t>(a)].name) <
           LowerCase(params_[static_cast<size_t>(b)].name);
  });
  return order;
}

void TScriptStep::SetText(int index, std::u16string_view value) {
  values_[static_cast<size_t>(index)].text = std::u16string(value);
  Changed(index);
}

void TScriptStep::SetChoice(int index, int value) {
  values_[static_cast<size_t>(index)].choice = value;
  Changed(index);
}

void TScriptStep::SetFlag(int index, bool value) {
  values_[static_cast<size_t>(index)].flag = value;
  Changed(index);
}

void TScriptStep::Changed(int index) {
  ParameterChanged(index);
  if (changeHook_) changeHook_();
}

int TScriptStep::IntegerParam(int index, int def) const {
  int value = 0;
  return TryStrToInt(Text(index), value) ? value : def;
}

void TScriptStep::Execute(std::u16string&, std::u16string&, RenameRecord&, TScriptContext&) {}

void TScriptStep::Reset() {
  for (int i = 0; i < static_cast<int>(params_.size()); ++i) {
    if (params_[static_cast<size_t>(i)].resetByReset) {
      SetDefault(i);
      ParameterChanged(i);
    }
  }
}

TSentenceWord TScriptStep::LabelWord(std::u16string_view text) const {
  return {TSentenceWord::TKind::Label, std::u16string(text), -1};
}

TSentenceWord TScriptStep::TextWord(int index) const {
  return {TSentenceWord::TKind::Text, Text(index), index};
}

TSentenceWord TScriptStep::ChoiceWord(int index) const {
  const TParamDef& def = params_[static_cast<size_t>(index)];
  const int choice = Choice(index);
  std::u16string text;
  if (choice >= 0 && choice < static_cast<int>(def.items.size())) {
    text = std::u16string(def.items[static_cast<size_t>(choice)]);
  }
  return {TSentenceWord::TKind::Choice, text, index};
}

TSentenceWord TScriptStep::FlagWord(int index) const {
  return {TSentenceWord::TKind::Flag,
          std::u16string(params_[static_cast<size_t>(index)].caption), index};
}
