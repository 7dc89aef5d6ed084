// The number of listed files per folder, which meta variables read as the
// entry's folder total. Keys are full folder paths with their trailing "/".
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

class TFoldersCount {
 public:
  void IncFolderCount(const std::u16string& folder) { Add(folder, 1); }
  void Add(const std::u16string& folder, int count);
  // 0 for a folder never counted.
  int GetCount(const std::u16string& folder) const;
  void Clear() { counts_.clear(); }
  size_t FolderCount() const { return counts_.size(); }

 private:
  std::unordered_map<std::u16string, int> counts_;
};
