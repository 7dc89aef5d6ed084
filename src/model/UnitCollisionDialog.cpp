#include "model/UnitCollisionDialog.h"

#include "platform/UnitText.h"

std::u16string TFrmCollisionDialog::Key(std::u16string_view path) {
  if (!path.empty() && path.back() == u'.') path.remove_suffix(1);
  return AsciiLowerCase(path);
}

void TFrmCollisionDialog::Clear(size_t buckets) {
  NewNamesHash = std::unordered_map<std::u16string, int>();
  NewNamesHash.reserve(buckets);
}

int TFrmCollisionDialog::Add(std::u16string_view /*OldName*/, std::u16string_view NewName,
                             int index) {
  const auto [it, inserted] = NewNamesHash.try_emplace(Key(NewName), index);
  return inserted ? -1 : it->second;
}

bool TFrmCollisionDialog::Exists(std::u16string_view name, int& index) const {
  const auto it = NewNamesHash.find(Key(name));
  if (it == NewNamesHash.end()) return false;
  index = it->second;
  return true;
}

bool TFrmCollisionDialog::Exists(std::u16string_view name) const {
  return NewNamesHash.find(Key(name)) != NewNamesHash.end();
}
