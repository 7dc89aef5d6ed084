#include "scriptio/UnitOlderScript.h"

#include "engine/UnitScriptActions.h"
#include "model/UnitMainModel.h"
#include "platform/UnitFileSystem.h"
#include "platform/UnitText.h"
#include "scriptio/UnitMyINIFile.h"
#include "scriptio/UnitScriptFile.h"
#include "scriptio/UnitTWScript.h"

namespace {

// Sets parameters of a new step by name, choices first as the editor would.
class TStepValues {
 public:
  TStepValues(TFrmScriptActions& actions, TScriptType type) : step_(actions.NewScriptControl(type)) {}
  TStepValues& Choice(std::u16string_view name, int value) {
    if (const int i = step_.FindParameter(name); i >= 0) step_.SetChoice(i, value);
    return *this;
  }
  TStepValues& Text(std::u16string_view name, std::u16string_view value) {
    if (const int i = step_.FindParameter(name); i >= 0) step_.SetText(i, value);
    return *this;
  }
  TStepValues& Number(std::u16string_view name, int value) { return Text(name, IntToStr(value)); }
  TStepValues& Flag(std::u16string_view name, bool value) {
    if (const int i = step_.FindParameter(name); i >= 0) step_.SetFlag(i, value);
    return *this;
  }

 private:
  TScriptStep& step_;
};

void AddRemoveSteps(const TClassicOptions& c, TFrmScriptActions& actions) {
  using T = TScriptType;
  if (c.cbRM2Characters) {
    TStepValues(actions, T::stRemoveSubstring)
        .Choice(u"cbxRemoveType", 1)
        .Number(u"txtR3X", c.udR2CharX)
        .Number(u"txtR3Y", c.udR2CharY)
        .Flag(u"cbAndMove", c.cbRM2AndMove)
        .Number(u"txtR3Z", c.udR2AndMove);
  }
  if (c.cbEverything) {
    TStepValues(actions, T::stRemoveSubstring)
        .Choice(u"cbxRemoveType", 0)
        .Number(u"txtR3X", c.udRM2X)
        .Number(u"txtR3Y", c.udRM2Y);
  }
  if (c.cbRM2NumFromName) {
    TStepValues(actions, T::stRemoveWords).Choice(u"cbxRemovePhrase", 2).Choice(u"cbxRemovePhrasePart", 0);
  }
  if (c.cbRM2NumFromExt) {
    TStepValues(actions, T::stRemoveWords).Choice(u"cbxRemovePhrase", 2).Choice(u"cbxRemovePhrasePart", 1);
  }
  const struct {
    bool on;
    int position, part, count;
  } ends[] = {{c.cbRMFromNameStart, 0, 0, c.udNS},
              {c.cbRMFromNameEnd, 1, 0, c.udNE},
              {c.cbRMFromExtensionStart, 0, 1, c.udES},
              {c.cbRMFromExtensionEnd, 1, 1, c.udEE}};
  for (const auto& end : ends) {
    if (!end.on) continue;
    TStepValues(actions, T::stRemoveBeginningEnding)
        .Choice(u"cbxRemoveCharPosition", end.position)
        .Choice(u"cbxRemoveCharactersPart", end.part)
        .Number(u"txtR2X", end.count);
  }
  const int phrase = c.cbRMWordList ? 1 : 0;
  if (c.cbRMFromName) {
    TStepValues(actions, T::stRemoveWords)
        .Choice(u"cbxRemovePhrasePart", 0)
        .Choice(u"cbxRemovePhrase", phrase)
        .Text(u"txtRemovePhrase", c.txtRMFromName);
  }
  if (c.cbRMFromExtension) {
    TStepValues(actions, T::stRemoveWords)
        .Choice(u"cbxRemovePhrasePart", 1)
        .Choice(u"cbxRemovePhrase", phrase)
        .Text(u"txtRemovePhrase", c.txtRMFromExtension);
  }
}

void AddReplaceSteps(const TClassicOptions& c, TFrmScriptActions& actions) {
  using T = TScriptType;
  if (c.cbRPNameWith) {
    TStepValues(actions, T::stReplaceNameExtension)
        .Choice(u"cbxReplacePart", 0)
        .Text(u"txtReplaceWith", c.txtRPNameWith);
  }
  if (c.cbRPExtensionWith) {
    TStepValues(actions, T::stReplaceNameExtension)
        .Choice(u"cbxReplacePart", 1)
        .Text(u"txtReplaceWith", c.txtRPExtensionWith);
  }
  if (c.cbRPThis) {
    TStepValues(actions, T::stReplaceNameExtension)
        .Choice(u"cbxReplacePart", 2)
        .Text(u"txtReplacePhrase", c.txtRPThis)
        .Text(u"txtReplaceWith", c.txtRPWith);
  }
  if (c.cbRP2Characters) {
    TStepValues(actions, T::stReplaceNameExtension)
        .Choice(u"cbxReplacePart", 2)
        .Text(u"txtReplacePhrase", c.txtRP2This)
        .Text(u"txtReplaceWith", c.txtRP2With)
        .Flag(u"cbReplaceOnly", true)
        .Number(u"txtRP2X", c.upRP2X)
        .Number(u"txtRP2Y", c.upRP2Y);
  }
  if (c.cbRP2CharacterList) {
    TStepValues(actions, T::stReplaceCharacters)
        .Choice(u"cbxReplaceCharPart", 0)
        .Text(u"txtReplaceChar1", c.txtRP2sc)
        .Text(u"txtReplaceChar2", c.txtRP2scWith);
  }
  if (c.cbRPNumbers) TStepValues(actions, T::stReplaceNumbers).Choice(u"cbxNumbers", c.cbxRPNumbers);
}

void AddAddSteps(const TClassicOptions& c, TFrmScriptActions& actions) {
  using T = TScriptType;
  // "move it before" / "move it after" (2, 3) have no step of their own.
  if (c.cbA2Find && (c.cbA2Insert == 0 || c.cbA2Insert == 1)) {
    TStepValues(actions, T::stAddBeforeAfter)
        .Choice(u"cbxAddPlace", c.cbA2Insert)
        .Text(u"txtAfter", c.txtA2Find)
        .Text(u"txtAdd", c.txtA2Insert);
  }
  // The extension's insert goes into the extension, as the classic option did.
  if (c.cbAEInsert) {
    TStepValues(actions, T::stAddPosition)
        .Choice(u"cbxAddPart", 1)
        .Text(u"txtAdd", c.txtAEInsert)
        .Number(u"txtAddPosition", c.udAEPosition);
  }
  if (c.cbANInsert) {
    TStepValues(actions, T::stAddPosition)
        .Text(u"txtAdd", c.txtANInsert)
        .Number(u"txtAddPosition", c.udANPosition);
  }
  const struct {
    bool on;
    int part;
    const std::u16string& text;
    bool onCollision;
  } ends[] = {{c.cbAEndOfName, 0, c.txtAEndOfName, false},
              {c.cbAEndOfExtension, 1, c.txtAEndOfExtension, false},
              {c.cbCollision, 0, c.txtCollision, true}};
  for (const auto& end : ends) {
    if (!end.on) continue;
    TStepValues(actions, T::stAddBeginningEnding)
        .Choice(u"cbxAddPart", end.part)
        .Choice(u"cbxAddAtThe", 1)
        .Text(u"txtAdd", end.text)
        .Flag(u"cbOnCollision", end.onCollision);
  }
}

}  // namespace

bool IsDefaultOlderScript(const std::u16string& path) {
  const size_t slash = path.rfind(u'/');
  const std::u16string name = slash == std::u16string::npos ? path : path.substr(slash + 1);
  return LowerCase(name) == u"default.tw-";
}

void ConvertClassicOptions(const TClassicOptions& classic, TFrmScriptActions& actions) {
  actions.Clear();
  AddRemoveSteps(classic, actions);
  AddReplaceSteps(classic, actions);
  AddAddSteps(classic, actions);
}

TStatus LoadOlderScript(TFrmScriptActions& actions, TTWScript& twscript, const std::u16string& path) {
  TMyINIFile ini;
  const TStatus status = ini.Open(twscript.FileSystem(), path);
  // A missing file loads the defaults, as a missing ".twscr" changes nothing.
  const bool exists = twscript.FileSystem().Exists(path);
  if (status.ok() && exists && !HoldsScript(ini)) return NotAScript(path);
  twscript.SetFilename(path);
  twscript.LoadSettings(ini, true);
  const size_t slash = path.rfind(u'/');
  twscript.Model().scriptName = slash == std::u16string::npos ? path : path.substr(slash + 1);
  ConvertClassicOptions(twscript.Model().classic, actions);
  return status;
}
