#include "cli/UnitScriptEdit.h"

#include "cli/UnitCommandOutput.h"
#include "engine/UnitScriptActions.h"
#include "model/UnitMainModel.h"
#include "platform/UnitEnvironment.h"
#include "platform/UnitFileSystem.h"
#include "platform/UnitText.h"
#include "scriptio/UnitScriptFile.h"
#include "scriptio/UnitTWScript.h"

namespace {

// The extension of the path's last component with its ".", or empty.
std::u16string_view ExtensionOf(std::u16string_view path) {
  const size_t slash = path.rfind(u'/');
  const size_t dot = path.rfind(u'.');
  if (dot == std::u16string_view::npos || (slash != std::u16string_view::npos && dot < slash)) {
    return {};
  }
  return path.substr(dot);
}

}  // namespace

TScriptEdit::TScriptEdit(TFileSystem& fs, std::u16string_view command, std::u16string_view version,
                         TCommandOutput& output)
    : fs_(fs), command_(command), version_(version), output_(output) {}

int TScriptEdit::Fail(std::u16string_view message) const {
  output_.Err(u"tallowick: " + command_ + u": " + std::u16string(message) + u"\n");
  return 2;
}

bool TScriptEdit::Open(std::u16string_view script) {
  const std::u16string path = AbsolutePath(script);
  const std::u16string_view extension = ExtensionOf(path);
  const std::u16string given = u"'" + std::u16string(script) + u"'";
  if (SameTextIgnoringCase(extension, u".tw-")) {
    Fail(given + u" is an older script, which is only read: give a .twscr script");
    return false;
  }
  if (!extension.empty() && !SameTextIgnoringCase(extension, u".twscr")) {
    Fail(given + u": a script file ends in .twscr (or give its name without an extension)");
    return false;
  }
  const std::u16string name = ScriptFileName(path);
  if (fs_.DirectoryExists(name)) {
    Fail(name + u": is a folder, not a script");
    return false;
  }
  existed_ = fs_.Exists(name);
  if (existed_) {
    const TStatus status = ini_.Open(fs_, name);
    if (!status.ok()) {
      Fail(status.Message());
      return false;
    }
    if (!HoldsScript(ini_)) {
      Fail(NotAScript(name).Message());
      return false;
    }
    return true;
  }
  // What SaveToFile writes for an empty script of a new session.
  ini_.Create(fs_, name);
  TMainModel model;
  TTWScript options(model, fs_, std::u16string());
  options.SetApplicationVersion(version_);
  const TFrmScriptActions empty;
  SaveSteps(empty, ini_);
  options.SaveSettings(ini_, false);
  return true;
}

int TScriptEdit::Write() {
  const TStatus status = ini_.UpdateFile();
  if (status.ok()) return 0;
  output_.Err(u"tallowick: " + command_ + u": " + status.Message() + u"\n");
  return 1;
}

void CopySection(const TMyINIFile& source, std::u16string_view from, TMyINIFile& target,
                 std::u16string_view to) {
  for (const std::u16string& key : source.ReadSection(from)) {
    target.WriteString(to, key, source.ReadString(from, key, u""));
  }
}

bool IsOneLine(std::u16string_view value) {
  return value.find_first_of(u"\r\n") == std::u16string_view::npos;
}
