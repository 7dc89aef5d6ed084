#include "model/UnitCollisionDialog.h"

#include "platform/UnitText.h"

std::u16string TFrmCollisionDialog::Key(std::u16string_view path) {
  if (!path.empty() && path.back() == u'.') path.remove_suffix(1);
  return AsciiLowerCase(path);
}

void TFrmCollisionDialog::Clear(size_t buckets, std::u16string_view commonFolder) {
  if (NewNamesHash.size() >= kFreeGraduallyFrom) {
    retired_ = std::move(NewNamesHash);
  }
  NewNamesHash = TNameTable();
  NewNamesHash.reserve(buckets);
  outside_ = TNameTable();
  const bool usable = commonFolder.empty() || commonFolder.back() == u'/';
  folder_ = usable ? AsciiLowerCase(commonFolder) : std::u16string();
}

bool TFrmCollisionDialog::UnderFolder(std::u16string_view path) const {
  if (path.size() < folder_.size()) return false;
  for (size_t i = 0; i < folder_.size(); ++i) {
    const char16_t c = path[i];
    const char16_t folded = c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
    if (folded != folder_[i]) return false;
  }
  return true;
}

// The folder ends in "/", so the trailing "." that Key drops is never in it.
std::u16string TFrmCollisionDialog::FolderKey(std::u16string_view path) const {
  return UnderFolder(path) ? Key(path.substr(folder_.size())) : Key(path);
}

TFrmCollisionDialog::TNameTable& TFrmCollisionDialog::TableOf(std::u16string_view path) {
  return UnderFolder(path) ? NewNamesHash : outside_;
}

const TFrmCollisionDialog::TNameTable& TFrmCollisionDialog::TableOf(
    std::u16string_view path) const {
  return UnderFolder(path) ? NewNamesHash : outside_;
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
  const auto [it, inserted] = TableOf(NewName).try_emplace(FolderKey(NewName), index);
  return inserted ? -1 : it->second;
}

bool TFrmCollisionDialog::Exists(std::u16string_view name, int& index) const {
  const TNameTable& table = TableOf(name);
  const auto it = table.find(FolderKey(name));
  if (it == table.end()) return false;
  index = it->second;
  return true;
}

bool TFrmCollisionDialog::Exists(std::u16string_view name) const {
  const TNameTable& table = TableOf(name);
  return table.find(FolderKey(name)) != table.end();
}
