#include "rename/UnitUndoJournal.h"

#include <algorithm>
#include <set>
#include <utility>

#include "platform/UnitFileSystem.h"
#include "rename/UnitUndo.h"

namespace {

// The part of `path` up to and with its last "/"; empty when it has none.
std::u16string_view FolderOf(std::u16string_view path) {
  const size_t slash = path.rfind(u'/');
  return slash == std::u16string_view::npos ? std::u16string_view() : path.substr(0, slash + 1);
}

// The identities of `paths`, in their order. Where every path lies right in
// one folder, as a run leaves its entries, they are read through that folder
// held open (on two threads at once), not each from the root.
std::vector<TEntryIdentity> IdentitiesOf(TFileSystem& fs,
                                         const std::vector<const std::u16string*>& paths) {
  const std::u16string_view folder = paths.empty() ? std::u16string_view() : FolderOf(*paths[0]);
  std::vector<std::u16string_view> names;
  names.reserve(paths.size());
  for (const std::u16string* path : paths) {
    if (folder.empty() || FolderOf(*path) != folder) {
      names.clear();
      break;
    }
    names.push_back(std::u16string_view(*path).substr(folder.size()));
  }
  if (!names.empty()) return fs.OpenFolderHandle(std::u16string(folder))->EntryIdentities(names);
  std::vector<TEntryIdentity> ids;
  ids.reserve(paths.size());
  for (const std::u16string* path : paths) ids.push_back(IdentityOf(fs, *path));
  return ids;
}

}  // namespace

TUndoStateLine NotFoundLine(const TRenamePair& pair) {
  return {0, u"not found when undone: \"" + pair.oldName + u"\" \"" + pair.newName + u"\""};
}

TJournal UndoJournal(TFileSystem& fs, const std::vector<TRenamePair>& pairs,
                     const std::vector<std::u16string>& folders,
                     std::vector<TRenamePair>& remaining, std::vector<TUndoStateLine>& notFound) {
  const std::set<std::u16string> made(folders.begin(), folders.end());
  TJournal journal;
  journal.kind = u"undo";
  journal.folders = folders;
  // Each entry under its new name, then whatever holds each old name.
  std::vector<const std::u16string*> names;
  names.reserve(2 * pairs.size());
  for (const TRenamePair& pair : pairs) names.push_back(&pair.newName);
  for (const TRenamePair& pair : pairs) names.push_back(&pair.oldName);
  const std::vector<TEntryIdentity> read = IdentitiesOf(fs, names);
  std::vector<std::pair<uint64_t, uint64_t>> found;  // sorted
  std::vector<TEntryIdentity> ids(pairs.size());
  for (size_t i = 0; i < pairs.size(); ++i) {
    if (pairs[i].oldName != pairs[i].newName) ids[i] = read[i];
    if (ids[i].Known()) found.emplace_back(ids[i].device, ids[i].inode);
  }
  std::sort(found.begin(), found.end());
  for (size_t i = 0; i < pairs.size(); ++i) {
    const TRenamePair& pair = pairs[i];
    if (pair.oldName == pair.newName) continue;
    if (!ids[i].Known()) {
      notFound.push_back(NotFoundLine(pair));  // nothing moves it
      continue;
    }
    const TEntryIdentity& holder = read[pairs.size() + i];
    const bool blocked = holder.Known() &&
                         !std::binary_search(found.begin(), found.end(),
                                             std::make_pair(holder.device, holder.inode)) &&
                         made.count(pair.oldName) == 0;
    if (blocked) remaining.push_back(pair);
    journal.entries.push_back({blocked ? pair.newName : pair.oldName,
                               {pair.newName, UndoParkingName(pair.oldName, kTempNameSuffix)},
                               ids[i]});
  }
  return journal;
}
