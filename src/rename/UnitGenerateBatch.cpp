#include "rename/UnitGenerateBatch.h"

#include <unordered_set>

#include "platform/UnitFileSystem.h"
#include "platform/UnitShellScript.h"

namespace {

std::u16string_view FolderOf(std::u16string_view path) {
  const size_t slash = path.rfind(u'/');
  return slash == std::u16string_view::npos ? std::u16string_view() : path.substr(0, slash);
}

}  // namespace

std::vector<TRenamePair> BatchMoves(const std::vector<TPlannedRename>& plan,
                                    const std::u16string& base) {
  std::vector<TRenamePair> moves;
  for (const TPlannedRename& entry : plan) {
    if (entry.refused.ok()) moves.push_back({base + entry.source, base + entry.target});
  }
  return moves;
}

std::string BuildRenameScript(const std::vector<TRenamePair>& pairs, std::u16string_view command,
                              bool makeundo) {
  std::string script(kShellScriptHeader);
  const auto from = [&](const TRenamePair& pair) -> const std::u16string& {
    return makeundo ? pair.newName : pair.oldName;
  };
  const auto to = [&](const TRenamePair& pair) -> const std::u16string& {
    return makeundo ? pair.oldName : pair.newName;
  };
  std::unordered_set<std::u16string_view> folders;
  for (const TRenamePair& pair : pairs) {
    const std::u16string_view folder = FolderOf(to(pair));
    if (folder.empty() || folder == FolderOf(from(pair)) || !folders.insert(folder).second) {
      continue;
    }
    script += "mkdir -p -- " + ShellQuote(folder) + '\n';
  }
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
