#include "rename/UnitUndoJournal.h"

#include <set>
#include <utility>

#include "platform/UnitFileSystem.h"
#include "rename/UnitUndo.h"

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
  std::set<std::pair<uint64_t, uint64_t>> found;
  std::vector<TEntryIdentity> ids;
  for (const TRenamePair& pair : pairs) {
    ids.push_back(pair.oldName == pair.newName ? TEntryIdentity() : IdentityOf(fs, pair.newName));
    if (ids.back().Known()) found.insert({ids.back().device, ids.back().inode});
  }
  for (size_t i = 0; i < pairs.size(); ++i) {
    const TRenamePair& pair = pairs[i];
    if (pair.oldName == pair.newName) continue;
    if (!ids[i].Known()) {
      notFound.push_back(NotFoundLine(pair));  // nothing moves it
      continue;
    }
    const TEntryIdentity holder = IdentityOf(fs, pair.oldName);
    const bool blocked = holder.Known() && found.count({holder.device, holder.inode}) == 0 &&
                         made.count(pair.oldName) == 0;
    if (blocked) remaining.push_back(pair);
    journal.entries.push_back({blocked ? pair.newName : pair.oldName,
                               {pair.newName, UndoParkingName(pair.oldName, kTempNameSuffix)},
                               ids[i]});
  }
  return journal;
}
