#include "scriptio/UnitTWScript.h"

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "model/UnitMainModel.h"
#include "platform/UnitFileSystem.h"
#include "platform/UnitText.h"
#include "scriptio/UnitMyINIFile.h"

namespace {

// One switch of a radio group with the value a missing key reads as.
struct TRadioKey {
  std::u16string_view key;
  bool def;
};

// Applies the switches of one radio group in their order, starting from the
// button selected now (-1: none): a switch read as on selects its button and
// unselects the others, one read as off unselects only its own. Returns the
// button selected at the end, or -1.
int ReadRadioGroup(const TMyINIFile& ini, std::u16string_view section,
                   std::initializer_list<TRadioKey> keys, int selected) {
  int index = 0;
  for (const TRadioKey& key : keys) {
    if (ini.ReadBool(section, key.key, key.def)) {
      selected = index;
    } else if (selected == index) {
      selected = -1;
    }
    ++index;
  }
  return selected;
}

// The classic keys of ".tw-" files in file order, each bound to its field.
struct TClassicKey {
  std::u16string_view section, key;
  bool TClassicOptions::*flag = nullptr;
  int TClassicOptions::*number = nullptr;
  std::u16string TClassicOptions::*text = nullptr;
  int def = 0;                   // read default of a number
  std::u16string_view defText;   // read default of a text
};

constexpr TClassicKey Flag(std::u16string_view section, std::u16string_view key,
                           bool TClassicOptions::*field) {
  return {section, key, field, nullptr, nullptr, 0, {}};
}
constexpr TClassicKey Number(std::u16string_view section, std::u16string_view key,
                             int TClassicOptions::*field, int def) {
  return {section, key, nullptr, field, nullptr, def, {}};
}
constexpr TClassicKey Text(std::u16string_view section, std::u16string_view key,
                           std::u16string TClassicOptions::*field,
                           std::u16string_view def = u"") {
  return {section, key, nullptr, nullptr, field, 0, def};
}

using C = TClassicOptions;
const TClassicKey kClassicKeys[] = {
    Flag(u"AddTo", u"cbAEndOfName", &C::cbAEndOfName),
    Flag(u"AddTo", u"cbAEndOfExtension", &C::cbAEndOfExtension),
    Flag(u"AddTo", u"cbANInsert", &C::cbANInsert),
    Flag(u"AddTo", u"cbAEInsert", &C::cbAEInsert),
    Text(u"AddTo", u"txtAEndOfName", &C::txtAEndOfName),
    Text(u"AddTo", u"txtAEndOfExtension", &C::txtAEndOfExtension),
    Text(u"AddTo", u"txtANInsert", &C::txtANInsert),
    Text(u"AddTo", u"txtAEInsert", &C::txtAEInsert),
    Number(u"AddTo", u"udANPosition", &C::udANPosition, 1),
    Number(u"AddTo", u"udAEPosition", &C::udAEPosition, 1),
    Flag(u"AddTo2", u"cbA2Find", &C::cbA2Find),
    Text(u"AddTo2", u"txtA2Find", &C::txtA2Find),
    Text(u"AddTo2", u"txtA2Insert", &C::txtA2Insert),
    Number(u"AddTo2", u"cbA2Insert", &C::cbA2Insert, 0),
    Flag(u"AddTo2", u"cbCollision", &C::cbCollision),
    Text(u"AddTo2", u"txtCollision", &C::txtCollision),
    Flag(u"Replace", u"cbRPNameWith", &C::cbRPNameWith),
    Flag(u"Replace", u"cbRPExtensionWith", &C::cbRPExtensionWith),
    Flag(u"Replace", u"cbRPThis", &C::cbRPThis),
    Text(u"Replace", u"txtRPNameWith", &C::txtRPNameWith),
    Text(u"Replace", u"txtRPExtensionWith", &C::txtRPExtensionWith),
    Text(u"Replace", u"txtRPThis", &C::txtRPThis),
    Text(u"Replace", u"txtRPWith", &C::txtRPWith),
    Flag(u"Replace2", u"cbRP2Characters", &C::cbRP2Characters),
    Number(u"Replace2", u"upRP2X", &C::upRP2X, 1),
    Number(u"Replace2", u"upRP2Y", &C::upRP2Y, 1),
    Text(u"Replace2", u"txtRP2This", &C::txtRP2This, u"*"),
    Text(u"Replace2", u"txtRP2With", &C::txtRP2With),
    Flag(u"Replace2", u"cbRP2CharacterList", &C::cbRP2CharacterList),
    Text(u"Replace2", u"txtRP2sc", &C::txtRP2sc),
    Text(u"Replace2", u"txtRP2scWith", &C::txtRP2scWith),
    Flag(u"Replace2", u"cbRPNumbers", &C::cbRPNumbers),
    Number(u"Replace2", u"cbxRPNumbers", &C::cbxRPNumbers, 0),
    Flag(u"Replace2", u"cbEverything", &C::cbEverything),
    // The boxes of "Remove all but characters"; Remove2 stores the same pair
    // again and is read later, so its values win.
    Number(u"Replace2", u"txtR2EverythingX", &C::udRM2X, 1),
    Number(u"Replace2", u"txtR2EverythingY", &C::udRM2Y, 10),
    Flag(u"Remove", u"cbRMFromNameStart", &C::cbRMFromNameStart),
    Flag(u"Remove", u"cbRMFromNameEnd", &C::cbRMFromNameEnd),
    Flag(u"Remove", u"cbRMFromExtensionStart", &C::cbRMFromExtensionStart),
    Flag(u"Remove", u"cbRMFromExtensionEnd", &C::cbRMFromExtensionEnd),
    Number(u"Remove", u"udNS", &C::udNS, 0),
    Number(u"Remove", u"udNE", &C::udNE, 0),
    Number(u"Remove", u"udES", &C::udES, 0),
    Number(u"Remove", u"udEE", &C::udEE, 0),
    Flag(u"Remove", u"cbRMFromName", &C::cbRMFromName),
    Flag(u"Remove", u"cbRMFromExtension", &C::cbRMFromExtension),
    Flag(u"Remove", u"cbRMWordList", &C::cbRMWordList),
    Text(u"Remove", u"txtRMFromName", &C::txtRMFromName),
    Text(u"Remove", u"txtRMFromExtension", &C::txtRMFromExtension),
    Flag(u"Remove2", u"cbRM2NumFromName", &C::cbRM2NumFromName),
    Flag(u"Remove2", u"cbRM2NumFromExt", &C::cbRM2NumFromExt),
    Flag(u"Remove2", u"cbEverything", &C::cbEverything),
    Number(u"Remove2", u"udRM2X", &C::udRM2X, 1),
    Number(u"Remove2", u"udRM2Y", &C::udRM2Y, 10),
    Flag(u"Remove2", u"cbRM2Characters", &C::cbRM2Characters),
    Number(u"Remove2", u"udR2CharX", &C::udR2CharX, 1),
    Number(u"Remove2", u"udR2CharY", &C::udR2CharY, 10),
    Flag(u"Remove2", u"cbRM2AndMove", &C::cbRM2AndMove),
    Number(u"Remove2", u"udR2AndMove", &C::udR2AndMove, 1),
};

// The range of the spin controls of the two classic insert positions.
constexpr int kMaxClassicPosition = 255;

const TCaseMode kCaseModes[] = {TCaseMode::Uppercase, TCaseMode::Lowercase,
                                TCaseMode::CapitalizeWords, TCaseMode::CapitalizeSentence,
                                TCaseMode::TitleCase};

int CaseModeIndex(TCaseMode mode) {
  const auto it = std::find(std::begin(kCaseModes), std::end(kCaseModes), mode);
  return it == std::end(kCaseModes) ? -1 : static_cast<int>(it - std::begin(kCaseModes));
}

}  // namespace

TTWScript::TTWScript(TMainModel& model, TFileSystem& fs, std::u16string appFolder)
    : model_(model), fs_(fs), appFolder_(std::move(appFolder)) {}

bool TTWScript::DefaultExists() const { return fs_.Exists(appFolder_ + u"default.tw-"); }

// --- loading -------------------------------------------------------------------

bool TTWScript::IsOptionSection(std::u16string_view section) {
  static constexpr std::u16string_view kSections[] = {
      u"Path", u"Filter", u"ScriptOptions", u"Version", u"Counting", u"Case",
      u"Wildcards", u"Text", u"AddTo", u"Remove", u"Replace"};
  for (const std::u16string_view known : kSections) {
    if (SameTextIgnoringCase(section, known)) return true;
  }
  return false;
}

TStatus TTWScript::LoadSettings(bool renameoptions) {
  TMyINIFile ini;
  const TStatus status = ini.Open(fs_, Filename);
  LoadSettings(ini, renameoptions);
  return status;
}

void TTWScript::LoadSettings(const TMyINIFile& ini, bool renameoptions) {
  LoadFolderAndFilter(ini);
  fversion = ini.ReadString(u"Version", u"Current", u"");
  if (renameoptions) LoadClassicOptions(ini);
  LoadCounting(ini);
  LoadCase(ini);
  LoadWildcards(ini);
  LoadText(ini);
}

void TTWScript::LoadFolderAndFilter(const TMyINIFile& ini) {
  UseFilter = false;
  UsePath = false;
  if (ini.ValueExists(u"ScriptOptions", u"UseFilter")) {
    UseFilter = ini.ReadBool(u"ScriptOptions", u"UseFilter", true);
    UsePath = ini.ReadBool(u"ScriptOptions", u"UsePath", true);
    if (UsePath) OpenFolder(ini.ReadString(u"Path", u"cbPath", appFolder_));
    if (UseFilter) {
      const std::u16string filter = ini.ReadString(u"Filter", u"txtFilter", u"*.*");
      if (!filter.empty()) model_.filter = filter;
    }
    return;
  }
  // Files written before the two options existed.
  if (ini.ReadBool(u"ScriptOptions", u"UsePath", false)) {
    const std::u16string path = ini.ReadString(u"Path", u"cbPath", appFolder_);
    if (!path.empty()) {
      UsePath = true;
      OpenFolder(path);
    }
  }
  const std::u16string filter = ini.ReadString(u"Filter", u"txtFilter", u"*.*");
  if (!filter.empty()) {
    model_.filter = filter;
    UseFilter = true;
  }
}

// A folder that does not exist here (a script from another machine) leaves
// the shown folder as it is, as loading an older script does.
void TTWScript::OpenFolder(const std::u16string& path) {
  if (!path.empty() && fs_.DirectoryExists(path)) model_.folder = path;
}

void TTWScript::LoadClassicOptions(const TMyINIFile& ini) {
  TClassicOptions& classic = model_.classic;
  for (const TClassicKey& key : kClassicKeys) {
    if (key.flag != nullptr) {
      classic.*key.flag = ini.ReadBool(key.section, key.key, false);
    } else if (key.number != nullptr) {
      classic.*key.number = ini.ReadInteger(key.section, key.key, key.def);
    } else {
      classic.*key.text = ini.ReadString(key.section, key.key, key.defText);
    }
  }
  classic.udANPosition = std::clamp(classic.udANPosition, 1, kMaxClassicPosition);
  classic.udAEPosition = std::clamp(classic.udAEPosition, 1, kMaxClassicPosition);
}

void TTWScript::LoadCounting(const TMyINIFile& ini) {
  const int selected = ReadRadioGroup(
      ini, u"Counting", {{u"rbUsePositionInList", true}, {u"rbStartCountingAt", false}},
      model_.usePositionInList ? 0 : 1);
  model_.usePositionInList = selected == 0;
  model_.startCountingAt = ini.ReadString(u"Counting", u"txtStartCountingAt", u"");
  model_.incrementBy = ini.ReadString(u"Counting", u"txtIncrementBy", u"");
}

void TTWScript::LoadCase(const TMyINIFile& ini) {
  model_.changeCase = ini.ReadBool(u"Case", u"cbOverrideCase", false);
  const int selected = ReadRadioGroup(ini, u"Case",
                                      {{u"rbCUppercase", true},
                                       {u"rbCLowercase", false},
                                       {u"rbCCapitalizeWords", false},
                                       {u"rbCCapitalizeSentence", false},
                                       {u"rbCTitleCase", false}},
                                      CaseModeIndex(model_.caseMode));
  model_.caseMode = selected < 0 ? TCaseMode::None : kCaseModes[selected];
  model_.preserveExtension = ini.ReadBool(u"Case", u"cbCPreserverExtension", false);
  model_.romanNumerals = ini.ReadBool(u"Case", u"cbCRoman", false);
  model_.extraSeparators = ini.ReadBool(u"Case", u"cbSplit", false);
  model_.separatorChars = ini.ReadString(u"Case", u"txtSplit", u"");
}

void TTWScript::LoadWildcards(const TMyINIFile& ini) {
  const int selected = ReadRadioGroup(ini, u"Wildcards",
                                      {{u"rbWildcards", true}, {u"rbRegExp", false}},
                                      model_.useRegExp ? 1 : 0);
  model_.useRegExp = selected == 1;
}

void TTWScript::LoadText(const TMyINIFile& ini) {
  model_.textFileName = ini.ReadString(u"Text", u"txtTName", u"");
  model_.textSkip = IntToStr(ini.ReadInteger(u"Text", u"udTSkip", 0));
  model_.textSplitFields = ini.ReadBool(u"Text", u"cbTDelim", true);
  const int selected =
      ReadRadioGroup(ini, u"Text", {{u"rbTMatch", true}, {u"rbTFind", false}},
                     model_.textMatch == TTextMatch::ByLineNumber ? 0 : 1);
  // Neither mode selected falls back to "By Search".
  model_.textMatch = selected == 0 ? TTextMatch::ByLineNumber : TTextMatch::BySearch;
  model_.textFind = ini.ReadString(u"Text", u"txtTFind", u"?cfn?");
  model_.textDelimiter = ini.ReadString(u"Text", u"txtTDelim", u",");
}

// --- saving --------------------------------------------------------------------

TStatus TTWScript::SaveSettings(bool renameoptions) {
  TMyINIFile ini;
  // Keep what the file holds; but never overwrite a file that could not be read.
  TStatus status = ini.Open(fs_, Filename);
  if (!status.ok()) return status;
  SaveSettings(ini, renameoptions);
  return ini.UpdateFile();
}

void TTWScript::SaveSettings(TMyINIFile& ini, bool renameoptions) const {
  ini.WriteString(u"Path", u"cbPath", UsePath ? model_.folder : std::u16string());
  ini.WriteString(u"Filter", u"txtFilter", model_.filter);
  ini.WriteBool(u"ScriptOptions", u"UseFilter", UseFilter);
  ini.WriteBool(u"ScriptOptions", u"UsePath", UsePath);
  if (!appVersion_.empty()) ini.WriteString(u"Version", u"Current", appVersion_);
  if (renameoptions) SaveClassicOptions(ini);
  SaveMainOptions(ini);
}

void TTWScript::SaveClassicOptions(TMyINIFile& ini) const {
  const TClassicOptions& classic = model_.classic;
  for (const TClassicKey& key : kClassicKeys) {
    if (key.flag != nullptr) {
      ini.WriteBool(key.section, key.key, classic.*key.flag);
    } else if (key.number != nullptr) {
      ini.WriteInteger(key.section, key.key, classic.*key.number);
    } else {
      ini.WriteString(key.section, key.key, classic.*key.text);
    }
  }
}

void TTWScript::SaveMainOptions(TMyINIFile& ini) const {
  ini.WriteBool(u"Counting", u"rbUsePositionInList", model_.usePositionInList);
  ini.WriteBool(u"Counting", u"rbStartCountingAt", !model_.usePositionInList);
  ini.WriteString(u"Counting", u"txtStartCountingAt", model_.startCountingAt);
  ini.WriteString(u"Counting", u"txtIncrementBy", model_.incrementBy);

  const TCaseMode mode = model_.caseMode;
  ini.WriteBool(u"Case", u"cbOverrideCase", model_.changeCase);
  ini.WriteBool(u"Case", u"rbCUppercase", mode == TCaseMode::Uppercase);
  ini.WriteBool(u"Case", u"rbCLowercase", mode == TCaseMode::Lowercase);
  ini.WriteBool(u"Case", u"rbCCapitalizeWords", mode == TCaseMode::CapitalizeWords);
  ini.WriteBool(u"Case", u"rbCCapitalizeSentence", mode == TCaseMode::CapitalizeSentence);
  ini.WriteBool(u"Case", u"cbCPreserverExtension", model_.preserveExtension);
  ini.WriteBool(u"Case", u"rbCTitleCase", mode == TCaseMode::TitleCase);
  ini.WriteBool(u"Case", u"cbCRoman", model_.romanNumerals);
  ini.WriteBool(u"Case", u"cbSplit", model_.extraSeparators);
  ini.WriteString(u"Case", u"txtSplit", model_.separatorChars);

  ini.WriteBool(u"Wildcards", u"rbWildcards", !model_.useRegExp);
  ini.WriteBool(u"Wildcards", u"rbRegExp", model_.useRegExp);

  int skip = 0;
  if (!TryStrToInt(model_.textSkip, skip)) skip = 0;
  ini.WriteString(u"Text", u"txtTName", model_.textFileName);
  ini.WriteInteger(u"Text", u"udTSkip", skip);
  ini.WriteBool(u"Text", u"cbTDelim", model_.textSplitFields);
  ini.WriteBool(u"Text", u"rbTMatch", model_.textMatch == TTextMatch::ByLineNumber);
  ini.WriteBool(u"Text", u"rbTFind", model_.textMatch == TTextMatch::BySearch);
  ini.WriteString(u"Text", u"txtTFind", model_.textFind);
  ini.WriteString(u"Text", u"txtTDelim", model_.textDelimiter);
}
