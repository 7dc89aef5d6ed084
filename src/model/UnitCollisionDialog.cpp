#include "model/UnitCollisionDialog.h"

#include "platform/UnitText.h"

std::u16string TFrmCollisionDialog::Key(std::u16string_view path) {
  if (!path.empty() && path.back() == u'.') path.remove_suffix(1);
  return AsciiLowerCase(path);
}

void TFrmCollisionDialog::Clear(size_t buckets) {
  if (NewNamesHash.size() >= kFreeGraduallyFrom) {
    retired_ = std::move(NewNamesHash);
  }
  NewNamesHash = TNameTable();
  NewNamesHash.reserve(buckets);
}

void TFrmCollisionDialog::FreeSomeRetired() {
  if (retired_.empty()) return;
  // Two names per Add: gone by the time the new pass has half as many.
  for (int i = 0; i < 2 && !retired_.empty(); ++i) retired_.erase(retired_.begin());
  if (retired_.empty()) retired_ = TNameTable();  // the bucket array too
}

int TFrmCollisionDialog::Add(std::u16string_view /*OldName*/, std::u16string_view NewName,
                             int index) {
  FreeSomeRetired();
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
