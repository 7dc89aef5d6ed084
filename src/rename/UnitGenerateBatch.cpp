#include "rename/UnitGenerateBatch.h"

#include "platform/UnitFileSystem.h"
#include "platform/UnitShellScript.h"

std::string BuildRenameScript(const std::vector<TRenamePair>& pairs, std::u16string_view command,
                              bool makeundo) {
  std::string script(kShellScriptHeader);
  const auto from = [&](const TRenamePair& pair) -> const std::u16string& {
    return makeundo ? pair.newName : pair.oldName;
  };
  const auto to = [&](const TRenamePair& pair) -> const std::u16string& {
    return makeundo ? pair.oldName : pair.newName;
  };
  for (const TRenamePair& pair : pairs) {
    script += ShellMoveCommand(command, from(pair), to(pair) + std::u16string(kTempNameSuffix));
    script += '\n';
  }
  for (const TRenamePair& pair : pairs) {
    script += ShellMoveCommand(command, to(pair) + std::u16string(kTempNameSuffix), to(pair));
    script += '\n';
  }
  return script;
}

TStatus TfrmGenerateBatch::GenerateScript(TFileSystem& fs, const std::u16string& fullname,
                                          bool makeundo,
                                          const std::vector<TRenamePair>& pairs) const {
  if (pairs.empty()) return TStatus::Ok();
  return fs.ReplaceFileAtomically(fullname, BuildRenameScript(pairs, txtCommand, makeundo));
}
