#include "cli/UnitManualTables.h"

#include <map>

#include "cli/UnitScriptOptionKeys.h"
#include "cli/UnitStepCatalogue.h"
#include "cli/UnitVariablesCommand.h"
#include "platform/UnitText.h"

namespace {

std::u16string Bold(std::u16string_view text) { return u"\\fB" + RoffText(text) + u"\\fR"; }

std::u16string Capitalised(std::u16string text) {
  if (!text.empty() && text[0] >= u'a' && text[0] <= u'z') text[0] = static_cast<char16_t>(text[0] - 32);
  return text;
}

std::u16string StepsTable() {
  std::u16string roff;
  for (const TStepKindInfo& kind : StepKinds()) {
    const std::u16string type = IntToStr(static_cast<int>(kind.type));
    roff += u".SS " + type + u" \\(em " +
            (kind.caption.empty() ? std::u16string(u"(no caption)") : RoffText(kind.caption)) +
            u"\n";
    roff += RoffText(kind.description);
    if (!kind.namedByCaption) roff += u" Named by its TYPE number only.";
    if (StepParameters(kind.type).empty()) roff += u" It has no stored parameters.";
    roff += u"\n";
    for (const TStepParamInfo& param : StepParameters(kind.type)) {
      const TParamDef& def = *param.def;
      roff += u".TP\n" + Bold(def.name) + u" (" + Bold(param.alias) + u")\n";
      std::u16string what = Capitalised(std::u16string(ParamKindName(def.kind)));
      if (def.kind == TParamKind::Choice) what += u": " + ChoiceItemsText(def);
      const std::u16string range = SpinRangeText(def);
      if (!range.empty()) what += u", a whole number " + range;
      if (param.radioGroup >= 0) what += u" (a radio button)";
      what += u"; a new step has " + NewStepValueText(def) + u".";
      roff += RoffText(what) + u"\n" + RoffText(param.description) + u"\n";
    }
  }
  return roff;
}

std::u16string OptionsTable() {
  std::map<int, std::u16string> groups;
  for (const TScriptOptionKey& key : ScriptOptionKeys()) {
    if (key.radioGroup == 0) continue;
    std::u16string& members = groups[key.radioGroup];
    members += (members.empty() ? u"" : u", ") + std::u16string(key.key);
  }
  std::u16string roff;
  std::u16string_view section;
  for (const TScriptOptionKey& key : ScriptOptionKeys()) {
    if (key.section != section) roff += u".SS [" + RoffText(key.section) + u"]\n";
    section = key.section;
    roff += u".TP\n" + Bold(key.key) + u"\n";
    std::u16string what = Capitalised(std::u16string(OptionFormName(key.form)));
    if (key.fixedDefault) {
      what += u"; a missing key reads as '" + std::u16string(key.readDefault) + u"'";
    }
    what += u".";
    if (key.radioGroup != 0) what += u" A radio button of the group " + groups[key.radioGroup] + u".";
    if (!key.restoredBy.empty()) {
      what += u" Loading restores it as ScriptOptions " + std::u16string(key.restoredBy) + u" says.";
    }
    if (!key.settable) what += u" Written by tallowick; --set-option leaves it alone.";
    roff += RoffText(what) + u"\n" + RoffText(key.meaning) + u"\n";
  }
  return roff;
}

std::u16string VariablesTable() {
  std::u16string roff;
  std::u16string_view family;
  for (const TVariableRow& row : VariableCatalogue()) {
    if (row.family != family) {
      if (!family.empty()) roff += u".PD\n";
      roff += u".SS " + RoffText(Capitalised(std::u16string(row.family))) + u"\n.PD 0\n";
    }
    family = row.family;
    roff += u".TP 20\n" + Bold(row.variable) + u"\n" + RoffText(row.caption) + u"\n";
  }
  if (!family.empty()) roff += u".PD\n";
  return roff;
}

}  // namespace

std::u16string RoffText(std::u16string_view text) {
  std::u16string out;
  for (const char16_t c : text) {
    if (c == u'\\') {
      out += u"\\e";
    } else if (c == u'-') {
      out += u"\\-";
    } else {
      out += c;
    }
  }
  if (!out.empty() && (out[0] == u'.' || out[0] == u'\'')) out.insert(0, u"\\&");
  return out;
}

std::vector<TManualTable> ManualTables() {
  return {{u"steps", StepsTable()}, {u"options", OptionsTable()}, {u"variables", VariablesTable()}};
}

std::u16string ManualBeginMarker(std::u16string_view name) {
  return u".\\\" BEGIN GENERATED " + std::u16string(name) + u": scripts/make-script-manual.sh";
}

std::u16string ManualEndMarker(std::u16string_view name) {
  return u".\\\" END GENERATED " + std::u16string(name);
}

std::u16string ManualTablesText() {
  std::u16string text;
  for (const TManualTable& table : ManualTables()) {
    text += ManualBeginMarker(table.name) + u"\n" + table.roff + ManualEndMarker(table.name) + u"\n";
  }
  return text;
}
