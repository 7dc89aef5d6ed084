#include "config/UnitRecentFolders.h"

#include <algorithm>

namespace {

constexpr char16_t kSeparator = u'|';

}  // namespace

std::vector<std::u16string> RecentFolders(const TfrmConfig& config) {
  std::vector<std::u16string> folders;
  const std::u16string& text = config.Text(TSetting::RecentFolders);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(kSeparator, start);
    if (end == std::u16string::npos) end = text.size();
    if (end > start && folders.size() < kMaxRecentFolders) {
      folders.push_back(text.substr(start, end - start));
    }
    start = end + 1;
  }
  return folders;
}

void RememberRecentFolder(TfrmConfig& config, const std::u16string& folder) {
  if (folder.empty() || folder.find(kSeparator) != std::u16string::npos) return;
  std::vector<std::u16string> folders = RecentFolders(config);
  folders.erase(std::remove(folders.begin(), folders.end(), folder), folders.end());
  folders.insert(folders.begin(), folder);
  if (folders.size() > kMaxRecentFolders) folders.resize(kMaxRecentFolders);
  std::u16string text;
  for (const std::u16string& f : folders) text += (text.empty() ? u"" : u"|") + f;
  config.SetText(TSetting::RecentFolders, text);
}
