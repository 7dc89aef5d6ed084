// Script files (".twscr"): one INI section per step ("SCRIPT0", "SCRIPT1",
// ...) with its kind, enabled flag and stored parameters, followed by the
// option sections that TTWScript writes and reads.
#pragma once

#include <string>
#include <vector>

#include "platform/UnitStatus.h"

class TFileSystem;
class TFrmScriptActions;
class TMyINIFile;
class TTWScript;

// `path` with its extension (if any) replaced by ".twscr".
std::u16string ScriptFileName(const std::u16string& path);

// Writes the script and the option sections (TTWScript::SaveSettings without
// the classic options) to ScriptFileName(path) in one atomic rewrite. On
// failure the file keeps its old content and the status names the file and
// the reason.
TStatus SaveToFile(const TFrmScriptActions& actions, const TTWScript& twscript, TFileSystem& fs,
                   const std::u16string& path);

// Replaces the script by the one in ScriptFileName(path) and reads its option
// sections into the model (folder, filter, counting, case, matching style,
// text-file parameters) and the script name. A missing file changes nothing
// and is not an error; a file that cannot be read changes nothing and returns
// the status, and so does a file that holds no script (HoldsScript). Malformed
// content of a script never fails: missing or unreadable values take
// their defaults, a gap in the section numbers or a missing TYPE ends the
// script, and a TYPE that names no kind is skipped.
// `messages`, when given, receives one line per step of unknown kind, naming
// the file and the section.
TStatus LoadFromFile(TFrmScriptActions& actions, TTWScript& twscript, TFileSystem& fs,
                     const std::u16string& path,
                     std::vector<std::u16string>* messages = nullptr);

// Whether the store holds a script: a step section ("SCRIPT" + number) or an
// option section of either script format. Random bytes, a plain text file or
// an empty file hold none.
bool HoldsScript(const TMyINIFile& ini);
// The status of a file that holds no script: "<path>: not a script (no steps found)".
TStatus NotAScript(const std::u16string& path);

// LoadFromFile of the file `name` as it is named, whatever its extension; a
// missing file is an error here.
TStatus LoadFromExactFile(TFrmScriptActions& actions, TTWScript& twscript, TFileSystem& fs,
                          const std::u16string& name,
                          std::vector<std::u16string>* messages = nullptr);

// The steps part of loading, from an open store: clears the script and
// appends the steps of the file. `fileName` decides the "default.twscr" rule.
// Returns the number of sections skipped for an unknown TYPE.
int LoadSteps(TFrmScriptActions& actions, const TMyINIFile& ini, const std::u16string& fileName,
              std::vector<std::u16string>* messages = nullptr);
// The steps part of saving: writes the step sections into `ini`.
void SaveSteps(const TFrmScriptActions& actions, TMyINIFile& ini);
