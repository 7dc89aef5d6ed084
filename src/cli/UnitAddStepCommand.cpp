#include "cli/UnitAddStepCommand.h"

#include <map>
#include <span>

#include "cli/UnitCommandOutput.h"
#include "cli/UnitScriptEdit.h"
#include "cli/UnitStepCatalogue.h"
#include "engine/UnitScriptActions.h"
#include "platform/UnitText.h"
#include "scriptio/UnitMyINIFile.h"
#include "scriptio/UnitScriptFile.h"

namespace {

constexpr std::u16string_view kCommand = u"--add-step";

std::u16string StepSection(int index) { return u"SCRIPT" + IntToStr(index); }

std::u16string Quoted(std::u16string_view text) { return u"'" + std::u16string(text) + u"'"; }

// Whether the loader reads `section` as a step section ("SCRIPT" + a number
// as IntToStr writes it); `index` receives the number.
bool IsStepSection(std::u16string_view section, int& index) {
  if (section.size() <= 6 || !SameTextIgnoringCase(section.substr(0, 6), u"SCRIPT")) return false;
  const std::u16string_view digits = section.substr(6);
  for (const char16_t c : digits) {
    if (c < u'0' || c > u'9') return false;
  }
  return TryStrToInt(digits, index) && IntToStr(index) == digits;
}

// Sets the step's parameters from the NAME=VALUE words. Returns an empty
// text, or the message that names the first bad word.
std::u16string ApplyAssignments(TScriptStep& step, std::span<const std::u16string> words) {
  const TScriptType type = step.ScriptType();
  const std::vector<TStepParamInfo>& params = StepParameters(type);
  std::vector<bool> given(params.size(), false);
  bool enabledGiven = false;
  for (const std::u16string& word : words) {
    const size_t eq = word.find(u'=');
    if (eq == std::u16string::npos || eq == 0) {
      return Quoted(word) + u" is not NAME=VALUE (tallowick --steps lists the names of each kind)";
    }
    const std::u16string name = word.substr(0, eq);
    const std::u16string value = word.substr(eq + 1);
    if (SameTextIgnoringCase(name, u"enabled")) {
      if (enabledGiven) return u"enabled is given twice";
      enabledGiven = true;
      if (!ParseFlagWord(value, step.Enabled)) {
        return u"enabled: " + Quoted(value) + u" is not a flag value: valid values are " +
               std::u16string(kFlagWords);
      }
      continue;
    }
    int position = -1;
    const TWordLookup found = FindStepParameter(type, name, position);
    if (!found.ok) return found.error;
    const TStepParamInfo& param = params[static_cast<size_t>(position)];
    const std::u16string stored(param.def->name);
    if (given[static_cast<size_t>(position)]) return stored + u" is given twice";
    given[static_cast<size_t>(position)] = true;
    switch (param.def->kind) {
      case TParamKind::Text:
        if (!IsOneLine(value)) return stored + u": a value is one line; " + Quoted(value) + u" is not";
        step.SetText(param.index, value);
        break;
      case TParamKind::Choice: {
        int choice = 0;
        const TWordLookup item = ParseChoiceWord(*param.def, value, choice);
        if (!item.ok) return item.error;
        step.SetChoice(param.index, choice);
        break;
      }
      case TParamKind::Flag: {
        bool flag = false;
        if (!ParseFlagWord(value, flag)) {
          return stored + u": " + Quoted(value) + u" is not a flag value: valid values are " +
                 std::u16string(kFlagWords);
        }
        step.SetFlag(param.index, flag);
        break;
      }
    }
  }
  // A radio button switched on switches off the others of its group that
  // were not named, as a click in the editor would.
  std::map<int, std::vector<size_t>> groups;
  for (size_t i = 0; i < params.size(); ++i) {
    if (params[i].radioGroup >= 0) groups[params[i].radioGroup].push_back(i);
  }
  for (const auto& [group, members] : groups) {
    std::vector<size_t> switchedOn;
    for (const size_t i : members) {
      if (given[i] && step.Flag(params[i].index)) switchedOn.push_back(i);
    }
    if (switchedOn.size() > 1) {
      return std::u16string(params[switchedOn[0]].def->name) + u" and " +
             std::u16string(params[switchedOn[1]].def->name) +
             u" are radio buttons of one group: switch on only one of them";
    }
    if (switchedOn.empty()) continue;
    for (const size_t i : members) {
      if (!given[i]) step.SetFlag(params[i].index, false);
    }
  }
  return {};
}

// Whether the step comes back from a script file as it stands: the loader
// turns the numeric texts into whole numbers, so "abc" for a count would be
// stored but read as the default. Returns the message, or an empty text.
std::u16string CheckReadBack(const TFrmScriptActions& actions, const TMyINIFile& stored) {
  TFrmScriptActions back;
  LoadSteps(back, stored, std::u16string());
  const TScriptStep& asked = actions.Step(0);
  const TScriptStep& read = back.Step(0);
  for (const TStepParamInfo& param : StepParameters(asked.ScriptType())) {
    if (param.def->kind != TParamKind::Text || asked.Text(param.index) == read.Text(param.index)) {
      continue;
    }
    return std::u16string(param.def->name) + u"=" + asked.Text(param.index) +
           u": a script file reads this back as " + Quoted(read.Text(param.index)) +
           u" (a whole number is needed)";
  }
  return {};
}

}  // namespace

int RunAddStepCommand(TFileSystem& fs, const std::vector<std::u16string>& args,
                      std::u16string_view version, TCommandOutput& output) {
  TScriptEdit edit(fs, kCommand, version, output);
  if (args.size() < 2) {
    return edit.Fail(std::u16string(args.empty() ? u"SCRIPT and KIND are" : u"KIND is") +
                     u" missing: usage: tallowick --add-step SCRIPT KIND [NAME=VALUE]...");
  }
  TScriptType type;
  const TWordLookup kind = FindStepKind(args[1], type);
  if (!kind.ok) return edit.Fail(kind.error);

  TFrmScriptActions actions;
  TScriptStep& step = actions.NewScriptControl(type);
  const std::u16string error =
      ApplyAssignments(step, std::span<const std::u16string>(args).subspan(2));
  if (!error.empty()) return edit.Fail(error);
  TMyINIFile added;
  SaveSteps(actions, added);
  const std::u16string changed = CheckReadBack(actions, added);
  if (!changed.empty()) return edit.Fail(changed);

  if (!edit.Open(args[0])) return 2;
  // The steps the loader reads end at the first section without a TYPE; the
  // new one takes that number. Step sections after it were never read and
  // would come alive behind the new step, so they are left out.
  const TMyINIFile& old = edit.Store();
  int count = 0;
  while (old.ReadInteger(StepSection(count), u"TYPE", -1) != -1) ++count;
  TMyINIFile rebuilt;
  rebuilt.Create(fs, old.FileName());
  for (int i = 0; i < count; ++i) CopySection(old, StepSection(i), rebuilt, StepSection(i));
  CopySection(added, StepSection(0), rebuilt, StepSection(count));
  for (const std::u16string& section : old.ReadSections()) {
    int index = 0;
    if (!IsStepSection(section, index)) CopySection(old, section, rebuilt, section);
  }
  edit.Store() = std::move(rebuilt);

  const int written = edit.Write();
  if (written != 0) return written;
  TFrmScriptActions all;
  LoadSteps(all, edit.Store(), std::u16string());
  const std::vector<TStepLine> lines = all.Lines(true);
  if (!lines.empty()) output.Out(lines.back().Text() + u"\n");
  return 0;
}
