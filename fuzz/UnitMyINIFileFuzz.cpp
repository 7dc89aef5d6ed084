// The INI value store and the script loader over arbitrary bytes, in memory:
// load, read every kind of value, load the steps, and check that the stored
// form is stable (saving what was read and reading it again changes nothing).
#include <cstdint>
#include <string>

#include "UnitFuzzInput.h"
#include "UnitMemoryFile.h"
#include "engine/UnitScriptActions.h"
#include "scriptio/UnitMyINIFile.h"
#include "scriptio/UnitScriptFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > kMaxFuzzInput) return 0;
  TMyINIFile ini;
  ini.LoadFromBytes(FuzzBytes(data, size));
  for (const std::u16string& section : ini.ReadSections()) {
    for (const std::u16string& key : ini.ReadSection(section)) {
      (void)ini.ReadString(section, key, u"");
      (void)ini.ReadInteger(section, key, 0);
      (void)ini.ReadBool(section, key, false);
    }
  }
  TFrmScriptActions actions;
  LoadSteps(actions, ini, u"/app/default.twscr");
  (void)actions.Lines(true);

  const std::string saved = ini.SaveToBytes();
  TMyINIFile again;
  again.LoadFromBytes(saved);
  if (again.SaveToBytes() != saved) __builtin_trap();
  return 0;
}
