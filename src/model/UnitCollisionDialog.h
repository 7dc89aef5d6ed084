// The registry of new names of one preview pass: which entry already holds a
// new name. Keys ignore ASCII case and one trailing ".".
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

class TFrmCollisionDialog {
 public:
  TFrmCollisionDialog() { Clear(256); }

  // Discards every name and starts over with room for `buckets` names.
  // Names under `commonFolder` (empty, or ending in "/"), as nearly all of a
  // preview's are, are kept without that folder: the same answers from less
  // memory. Another `commonFolder` is taken as empty.
  void Clear(size_t buckets, std::u16string_view commonFolder = {});
  // Registers `NewName` for entry `index`. Returns -1 when the name was free,
  // else the index of the entry that holds it already (nothing changes then).
  // `OldName` is not used.
  int Add(std::u16string_view OldName, std::u16string_view NewName, int index);
  bool Exists(std::u16string_view name, int& index) const;
  bool Exists(std::u16string_view name) const;

  // The key of a path: one trailing "." dropped, A-Z folded to a-z.
  static std::u16string Key(std::u16string_view path);

 private:
  using TNameTable = std::unordered_map<std::u16string, int>;
  // A large table of the last pass is freed a few names at each Add of the
  // next one: freeing a million names at once would stop a window's second
  // preview for most of a second before its first row.
  static constexpr size_t kFreeGraduallyFrom = 65536;
  void FreeSomeRetired();
  // Whether `path` lies under folder_ (A-Z folded); then it is kept in
  // NewNamesHash with that folder cut off, else in outside_ whole. A key
  // under folder_ always starts with it, so no two paths share a key.
  bool UnderFolder(std::u16string_view path) const;
  std::u16string FolderKey(std::u16string_view path) const;
  TNameTable& TableOf(std::u16string_view path);
  const TNameTable& TableOf(std::u16string_view path) const;

  TNameTable NewNamesHash;
  TNameTable outside_;
  TNameTable retired_;
  std::u16string folder_;
};
