#include "cli/UnitSetOptionCommand.h"

#include <map>
#include <optional>

#include "cli/UnitCommandOutput.h"
#include "cli/UnitScriptEdit.h"
#include "cli/UnitScriptOptionKeys.h"
#include "cli/UnitStepCatalogue.h"
#include "platform/UnitText.h"
#include "scriptio/UnitMyINIFile.h"

namespace {

constexpr std::u16string_view kCommand = u"--set-option";

std::u16string Quoted(std::u16string_view text) { return u"'" + std::u16string(text) + u"'"; }

std::u16string Dotted(const TScriptOptionKey& key) {
  return std::u16string(key.section) + u"." + std::u16string(key.key);
}

std::u16string ValidSections() {
  std::u16string text = u"valid sections are";
  std::u16string_view last;
  for (const TScriptOptionKey& key : ScriptOptionKeys()) {
    if (!key.settable || key.section == last) continue;
    text += (last.empty() ? u" " : u", ") + std::u16string(key.section);
    last = key.section;
  }
  return text;
}

std::u16string ValidKeys(std::u16string_view section) {
  std::u16string text = u"valid keys are";
  bool first = true;
  for (const TScriptOptionKey& key : ScriptOptionKeys()) {
    if (!key.settable || key.section != section) continue;
    text += (first ? u" " : u", ") + std::u16string(key.key);
    first = false;
  }
  return text;
}

// The settable key SECTION.NAME, or the message that says why there is none.
const TScriptOptionKey* FindKey(std::u16string_view section, std::u16string_view name,
                                std::u16string& error) {
  std::u16string_view knownSection;
  for (const TScriptOptionKey& key : ScriptOptionKeys()) {
    if (!key.settable || !SameTextIgnoringCase(key.section, section)) continue;
    knownSection = key.section;
    if (SameTextIgnoringCase(key.key, name)) return &key;
  }
  error = knownSection.empty()
              ? u"unknown section " + Quoted(section) + u": " + ValidSections()
              : u"section " + std::u16string(knownSection) + u" has no key " + Quoted(name) +
                    u": " + ValidKeys(knownSection);
  return nullptr;
}

// The value as the file stores it, or nothing with `error` set.
std::optional<std::u16string> StoredValue(const TScriptOptionKey& key, std::u16string_view value,
                                          std::u16string& error) {
  switch (key.form) {
    case TOptionForm::Switch: {
      bool on = false;
      if (ParseFlagWord(value, on)) return std::u16string(on ? u"1" : u"0");
      error = Dotted(key) + u": " + Quoted(value) + u" is not a switch value: valid values are " +
              std::u16string(kFlagWords);
      return std::nullopt;
    }
    case TOptionForm::Integer: {
      int number = 0;
      if (ParseIniInteger(value, number)) return IntToStr(number);
      error = Dotted(key) + u": " + Quoted(value) + u" is not a whole number";
      return std::nullopt;
    }
    case TOptionForm::Text:
      if (IsOneLine(value)) return std::u16string(value);
      error = Dotted(key) + u": a value is one line; " + Quoted(value) + u" is not";
      return std::nullopt;
  }
  return std::nullopt;
}

using TValues = std::map<const TScriptOptionKey*, std::u16string>;

const TScriptOptionKey* KeyNamed(std::u16string_view section, std::u16string_view name) {
  for (const TScriptOptionKey& key : ScriptOptionKeys()) {
    if (key.section == section && key.key == name) return &key;
  }
  return nullptr;
}

// The keys the named ones imply (radio groups, the restore switches), added
// to `values`. Returns an empty text or the message of a contradiction.
std::u16string AddImpliedValues(const TValues& given, TValues& values) {
  std::map<int, std::vector<const TScriptOptionKey*>> groups;
  for (const TScriptOptionKey& key : ScriptOptionKeys()) {
    if (key.radioGroup > 0) groups[key.radioGroup].push_back(&key);
  }
  for (const auto& [group, members] : groups) {
    std::vector<const TScriptOptionKey*> on, off;
    for (const TScriptOptionKey* key : members) {
      const auto it = given.find(key);
      if (it != given.end()) (it->second == u"1" ? on : off).push_back(key);
    }
    if (on.size() > 1) {
      return Dotted(*on[0]) + u" and " + Dotted(*on[1]) +
             u" are radio buttons of one group: switch on only one of them";
    }
    for (const TScriptOptionKey* key : members) {
      if (given.count(key) != 0) continue;
      // One switched on turns the rest off; one of a pair switched off turns
      // the other on (the pair is one choice).
      if (on.size() == 1) {
        values[key] = u"0";
      } else if (members.size() == 2 && off.size() == 1) {
        values[key] = u"1";
      }
    }
  }
  for (const auto& [key, value] : given) {
    if (key->restoredBy.empty() || value.empty()) continue;
    const TScriptOptionKey* option = KeyNamed(u"ScriptOptions", key->restoredBy);
    if (option != nullptr && given.count(option) == 0) values[option] = u"1";
  }
  return {};
}

void WriteValue(TMyINIFile& ini, const TScriptOptionKey& key, const std::u16string& value) {
  switch (key.form) {
    case TOptionForm::Switch: ini.WriteBool(key.section, key.key, value == u"1"); break;
    case TOptionForm::Integer: {
      int number = 0;
      (void)ParseIniInteger(value, number);
      ini.WriteInteger(key.section, key.key, number);
      break;
    }
    case TOptionForm::Text: ini.WriteString(key.section, key.key, value); break;
  }
}

}  // namespace

int RunSetOptionCommand(TFileSystem& fs, const std::vector<std::u16string>& args,
                        std::u16string_view version, TCommandOutput& output) {
  TScriptEdit edit(fs, kCommand, version, output);
  if (args.size() < 2) {
    return edit.Fail(
        std::u16string(args.empty() ? u"SCRIPT and SECTION.NAME=VALUE are" : u"SECTION.NAME=VALUE is") +
        u" missing: usage: tallowick --set-option SCRIPT SECTION.NAME=VALUE...");
  }
  TValues given;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::u16string& word = args[i];
    const size_t eq = word.find(u'=');
    const size_t dot = word.find(u'.');
    if (eq == std::u16string::npos || dot == std::u16string::npos || dot > eq || dot == 0 ||
        dot + 1 == eq) {
      return edit.Fail(Quoted(word) + u" is not SECTION.NAME=VALUE (for example "
                                      u"Case.cbOverrideCase=1): " + ValidSections());
    }
    std::u16string error;
    const TScriptOptionKey* key =
        FindKey(std::u16string_view(word).substr(0, dot),
                std::u16string_view(word).substr(dot + 1, eq - dot - 1), error);
    if (key == nullptr) return edit.Fail(error);
    if (given.count(key) != 0) return edit.Fail(Dotted(*key) + u" is given twice");
    const std::optional<std::u16string> value = StoredValue(*key, word.substr(eq + 1), error);
    if (!value) return edit.Fail(error);
    given[key] = *value;
  }
  TValues values = given;
  const std::u16string contradiction = AddImpliedValues(given, values);
  if (!contradiction.empty()) return edit.Fail(contradiction);

  if (!edit.Open(args[0])) return 2;
  std::u16string report;
  for (const TScriptOptionKey& key : ScriptOptionKeys()) {
    const auto it = values.find(&key);
    if (it == values.end()) continue;
    WriteValue(edit.Store(), key, it->second);
    report += Dotted(key) + u"=" + it->second + u"\n";
  }
  const int written = edit.Write();
  if (written == 0) output.Out(report);
  return written;
}
