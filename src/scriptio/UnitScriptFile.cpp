#include "scriptio/UnitScriptFile.h"

#include <algorithm>
#include <cerrno>
#include <string_view>

#include "engine/UnitScriptActions.h"
#include "engine/UnitScriptStepFactory.h"
#include "model/UnitMainModel.h"
#include "platform/UnitFileSystem.h"
#include "platform/UnitText.h"
#include "scriptio/UnitMyINIFile.h"
#include "scriptio/UnitTWScript.h"

namespace {

// The numeric text parameters of each kind with the integer rule's default.
struct TNumericParam {
  TScriptType type;
  std::u16string_view name;
  int def;
};

constexpr TNumericParam kNumericParams[] = {
    {TScriptType::stReplaceNameExtension, u"txtRP2X", 1},
    {TScriptType::stReplaceNameExtension, u"txtRP2Y", 10},
    {TScriptType::stRemoveBeginningEnding, u"txtR2X", 1},
    {TScriptType::stRemoveSubstring, u"txtR3X", 1},
    {TScriptType::stRemoveSubstring, u"txtR3Y", 10},
    {TScriptType::stRemoveSubstring, u"txtR3Z", 1},
    {TScriptType::stAddCounter, u"txtAZeros", 2},
    {TScriptType::stRemoveExpression, u"txtRE1", 1},
    {TScriptType::stSelectAndMove, u"txtSMZ1", 1},
    {TScriptType::stSelectAndMove, u"txtSMX1", 1},
    {TScriptType::stSelectAndMove, u"txtSMY1", 10},
    {TScriptType::stSelectAndMove, u"txtSMX2", 1},
    {TScriptType::stFindAndEdit, u"txtFEX1", 1},
    {TScriptType::stFindAndEdit, u"txtFEY1", 0},
};

std::u16string SectionName(int index) { return u"SCRIPT" + IntToStr(index); }

std::u16string FilePart(const std::u16string& path) {
  const size_t slash = path.rfind(u'/');
  return slash == std::u16string::npos ? path : path.substr(slash + 1);
}

void ReadParameters(TScriptStep& step, const TMyINIFile& ini, const std::u16string& section) {
  const auto params = step.Parameters();
  for (int i = 0; i < static_cast<int>(params.size()); ++i) {
    const TParamDef& def = params[static_cast<size_t>(i)];
    if (!def.stored) continue;
    switch (def.kind) {
      case TParamKind::Text: step.SetText(i, ini.ReadString(section, def.name, u"")); break;
      case TParamKind::Choice: step.SetChoice(i, ini.ReadInteger(section, def.name, 0)); break;
      case TParamKind::Flag: step.SetFlag(i, ini.ReadBool(section, def.name, false)); break;
    }
  }
}

// Rewrites each numeric text of the kind as the integer it reads as, which
// also sets the paired spin control. The value is not clamped to the spin
// range: the steps clamp where their spin control limits what runs, and the
// file's number survives the next save.
void NormaliseNumbers(TScriptStep& step) {
  for (const TNumericParam& numeric : kNumericParams) {
    if (numeric.type != step.ScriptType()) continue;
    const int index = step.FindParameter(numeric.name);
    if (index >= 0) step.SetText(index, IntToStr(step.IntegerParam(index, numeric.def)));
  }
}

void WriteParameters(const TScriptStep& step, TMyINIFile& ini, const std::u16string& section) {
  const auto params = step.Parameters();
  for (const int i : step.ParametersInFileOrder()) {
    const TParamDef& def = params[static_cast<size_t>(i)];
    switch (def.kind) {
      case TParamKind::Text: ini.WriteString(section, def.name, step.Text(i)); break;
      case TParamKind::Choice: ini.WriteInteger(section, def.name, step.Choice(i)); break;
      case TParamKind::Flag: ini.WriteBool(section, def.name, step.Flag(i)); break;
    }
  }
}

}  // namespace

std::u16string ScriptFileName(const std::u16string& path) {
  const size_t slash = path.rfind(u'/');
  const size_t dot = path.rfind(u'.');
  const bool hasExtension = dot != std::u16string::npos && (slash == std::u16string::npos || dot > slash);
  return (hasExtension ? path.substr(0, dot) : path) + TFrmScriptActions::GetScriptExtension();
}

void SaveSteps(const TFrmScriptActions& actions, TMyINIFile& ini) {
  for (int i = 0; i < actions.Count(); ++i) {
    const TScriptStep& step = actions.Step(i);
    const std::u16string section = SectionName(i);
    ini.WriteInteger(section, u"TYPE", static_cast<int>(step.ScriptType()));
    ini.WriteBool(section, u"ENABLED", step.Enabled);
    WriteParameters(step, ini, section);
  }
}

TStatus SaveToFile(const TFrmScriptActions& actions, const TTWScript& twscript, TFileSystem& fs,
                   const std::u16string& path) {
  // The file is replaced whole, never deleted first: a failed write keeps the
  // old script.
  TMyINIFile ini;
  ini.Create(fs, ScriptFileName(path));
  SaveSteps(actions, ini);
  twscript.SaveSettings(ini, false);
  return ini.UpdateFile();
}

int LoadSteps(TFrmScriptActions& actions, const TMyINIFile& ini, const std::u16string& fileName,
              std::vector<std::u16string>* messages) {
  actions.Clear();
  int count = 0, skipped = 0;
  bool allEnabled = true;
  for (int i = 0;; ++i) {
    const std::u16string section = SectionName(i);
    const int ordinal = ini.ReadInteger(section, u"TYPE", -1);
    if (ordinal == -1) break;
    TScriptType type;
    if (!ScriptTypeFromInt(ordinal, type)) {
      // A kind this release does not know (a newer file): left out, so that
      // the steps after it still load.
      ++skipped;
      if (messages != nullptr) {
        messages->push_back(fileName + u": [" + section + u"] holds a step of unknown kind " +
                            IntToStr(ordinal) + u"; it was skipped");
      }
      continue;
    }
    TScriptStep& step = actions.NewScriptControl(type);
    step.Enabled = ini.ReadBool(section, u"ENABLED", true);
    ReadParameters(step, ini, section);
    NormaliseNumbers(step);
    allEnabled = allEnabled && step.Enabled;
    ++count;
  }
  // A default script of ten or more steps, all enabled, starts switched off.
  if (SameTextIgnoringCase(FilePart(fileName), u"default.twscr") && allEnabled && count >= 10) {
    actions.DisableAll();
  }
  return skipped;
}

bool HoldsScript(const TMyINIFile& ini) {
  for (const std::u16string& section : ini.ReadSections()) {
    if (TTWScript::IsOptionSection(section)) return true;
    const std::u16string_view rest = std::u16string_view(section).substr(0, 6);
    if (section.size() > 6 && SameTextIgnoringCase(rest, u"SCRIPT") &&
        std::all_of(section.begin() + 6, section.end(),
                    [](char16_t c) { return c >= u'0' && c <= u'9'; })) {
      return true;
    }
  }
  return false;
}

TStatus NotAScript(const std::u16string& path) {
  return TStatus::Error(EINVAL, path, u"not a script (no steps found)");
}

TStatus LoadFromFile(TFrmScriptActions& actions, TTWScript& twscript, TFileSystem& fs,
                     const std::u16string& path, std::vector<std::u16string>* messages) {
  const std::u16string name = ScriptFileName(path);
  if (!fs.Exists(name)) {
    actions.StepChanged();  // the preview refreshes after every load
    return TStatus::Ok();
  }
  return LoadFromExactFile(actions, twscript, fs, name, messages);
}

TStatus LoadFromExactFile(TFrmScriptActions& actions, TTWScript& twscript, TFileSystem& fs,
                          const std::u16string& name, std::vector<std::u16string>* messages) {
  TMyINIFile ini;
  TStatus status = ini.Open(fs, name);
  if (!status.ok()) return status;
  if (!HoldsScript(ini)) return NotAScript(name);
  twscript.SetFilename(name);
  twscript.LoadSettings(ini, false);
  LoadSteps(actions, ini, name, messages);
  twscript.Model().scriptName = FilePart(name);
  actions.StepChanged();
  return TStatus::Ok();
}
