#include "model/UnitCollisionDialog.h"

#include "platform/UnitText.h"

std::u16string TFrmCollisionDialog::Key(std::u16string_view path) {
  if (!path.empty() && path.back() == u'.') path.remove_suffix(1);
  return AsciiLowerCase(path);
}

std::u16string_view TFrmCollisionDialog::KeyOf(std::u16string_view path) const {
  if (!path.empty() && path.back() == u'.') path.remove_suffix(1);
  key_.assign(path);
  for (char16_t& c : key_) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + (u'a' - u'A'));
  }
  return key_;
}

void TFrmCollisionDialog::Clear(size_t buckets) { NewNamesHash.Clear(buckets); }

int TFrmCollisionDialog::Add(std::u16string_view /*OldName*/, std::u16string_view NewName,
                             int index) {
  return NewNamesHash.Insert(KeyOf(NewName), index);
}

bool TFrmCollisionDialog::Exists(std::u16string_view name, int& index) const {
  return NewNamesHash.Find(KeyOf(name), index);
}

bool TFrmCollisionDialog::Exists(std::u16string_view name) const {
  int index = -1;
  return Exists(name, index);
}
