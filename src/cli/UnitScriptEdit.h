// What --add-step and --set-option share: the script file a command edits,
// read whole from disk or made as SaveToFile makes an empty script, and
// written back in one atomic rewrite. Everything the file holds that the
// command does not change stays as it is (a folder that does not exist on
// this machine, a filter that loading would not restore, keys of other
// releases), which a load through the model and a save would lose.
#pragma once

#include <string>
#include <string_view>

#include "scriptio/UnitMyINIFile.h"

class TCommandOutput;
class TFileSystem;

class TScriptEdit {
 public:
  // `command` ("--add-step") starts every message. `version` goes to
  // Version/Current of a file made new.
  TScriptEdit(TFileSystem& fs, std::u16string_view command, std::u16string_view version,
              TCommandOutput& output);

  // Reads SCRIPT, a path as given: an existing file must hold a script; a
  // missing one becomes an empty script with the options a new model has.
  // The path may end in ".twscr" or have no extension (".twscr" is added);
  // an older ".tw-" script or another extension is refused. On failure says
  // why and returns false; nothing is written then.
  bool Open(std::u16string_view script);
  // The store to change.
  TMyINIFile& Store() { return ini_; }
  const std::u16string& FileName() const { return ini_.FileName(); }
  bool Existed() const { return existed_; }
  // Writes the store back in one atomic rewrite; returns the exit code: 0,
  // or 1 with the reason when the file cannot be written.
  int Write();

  // Says "tallowick: COMMAND: message" on standard error and returns 2, the
  // exit code of wrong use.
  int Fail(std::u16string_view message) const;

 private:
  TFileSystem& fs_;
  std::u16string command_;
  std::u16string version_;
  TCommandOutput& output_;
  TMyINIFile ini_;
  bool existed_ = false;
};

// Copies every key of section `from` of `source` into section `to` of
// `target`, values unchanged.
void CopySection(const TMyINIFile& source, std::u16string_view from, TMyINIFile& target,
                 std::u16string_view to);

// Whether `value` can be stored: a value is one line of the file.
bool IsOneLine(std::u16string_view value);
