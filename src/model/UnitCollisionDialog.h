// The registry of new names of one preview pass: which entry already holds a
// new name. Keys ignore ASCII case and one trailing ".".
#pragma once

#include <string>
#include <string_view>

#include "model/UnitNameKeyTable.h"

class TFrmCollisionDialog {
 public:
  TFrmCollisionDialog() { Clear(256); }

  // Discards every name and starts over with room for `buckets` names.
  void Clear(size_t buckets);
  // Registers `NewName` for entry `index`. Returns -1 when the name was free,
  // else the index of the entry that holds it already (nothing changes then).
  // `OldName` is not used.
  int Add(std::u16string_view OldName, std::u16string_view NewName, int index);
  bool Exists(std::u16string_view name, int& index) const;
  bool Exists(std::u16string_view name) const;

  // The key of a path: one trailing "." dropped, A-Z folded to a-z.
  static std::u16string Key(std::u16string_view path);

 private:
  // The key of `path` in a buffer kept between calls (no allocation per name).
  std::u16string_view KeyOf(std::u16string_view path) const;

  TNameKeyTable NewNamesHash;
  mutable std::u16string key_;
};
