#include "filelist/UnitFoldersCount.h"

void TFoldersCount::Add(const std::u16string& folder, int count) {
  if (count != 0) counts_[folder] += count;
}

int TFoldersCount::GetCount(const std::u16string& folder) const {
  const auto it = counts_.find(folder);
  return it == counts_.end() ? 0 : it->second;
}
