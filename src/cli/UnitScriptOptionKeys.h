// The keys of the option sections that every script file carries, in the
// order TTWScript writes them, with their form, the value a missing key reads
// as, the radio groups and what each means. --set-option validates against
// this table and the manual page is generated from it; a test checks it
// against what TTWScript actually writes and reads.
#pragma once

#include <span>
#include <string_view>

enum class TOptionForm { Switch, Integer, Text };

struct TScriptOptionKey {
  std::u16string_view section;
  std::u16string_view key;
  TOptionForm form = TOptionForm::Text;
  // The value a missing key reads as, when `fixedDefault`; otherwise it
  // depends on other keys or on the machine (see `meaning`).
  std::u16string_view readDefault;
  bool fixedDefault = true;
  // Switches with the same number above 0 are one radio group: switching one
  // on switches the others off.
  int radioGroup = 0;
  // The ScriptOptions switch that decides whether loading restores this
  // key's value (Path and Filter); empty for the others.
  std::u16string_view restoredBy;
  // Whether --set-option may set it (the version is written by tallowick).
  bool settable = true;
  std::u16string_view meaning;  // one sentence
};

// Every key of the option sections, in file order.
std::span<const TScriptOptionKey> ScriptOptionKeys();
std::u16string_view OptionFormName(TOptionForm form);
