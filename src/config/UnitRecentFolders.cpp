#include "config/UnitRecentFolders.h"

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
  std::u16string text = folder;  // the newest first, each folder once
  size_t kept = 1;
  for (const std::u16string& f : RecentFolders(config)) {
    if (f == folder || kept == kMaxRecentFolders) continue;
    text += kSeparator;
    text += f;
    ++kept;
  }
  config.SetText(TSetting::RecentFolders, text);
}
