#include "config/UnitStartupState.h"

#include "platform/UnitFileSystem.h"

namespace {

constexpr int kDefaultPaneWidth = 200;

// The parent of `folder` with a trailing "/", or empty at the top.
std::u16string ParentFolder(std::u16string folder) {
  while (folder.size() > 1 && folder.back() == u'/') folder.pop_back();
  const size_t slash = folder.rfind(u'/');
  if (slash == std::u16string::npos || folder.size() <= 1) return u"";
  return folder.substr(0, slash + 1);
}

}  // namespace

std::u16string StartFolder(const TfrmConfig& config, TFileSystem& fs,
                           const std::u16string& appFolder) {
  const std::u16string& last = config.GetLastFolder();
  if (!config.UseLastFolder() || last.empty()) return appFolder;
  if (fs.DirectoryExists(last)) return last;
  const std::u16string parent = ParentFolder(last);
  if (!parent.empty() && fs.DirectoryExists(parent)) return parent;
  return appFolder;
}

int BrowsePaneStartWidth(const TfrmConfig& config) {
  const int width = config.GetLastBrowsePaneWidth();
  return width > 10 && config.GetRememberBrowsePaneState() ? width : kDefaultPaneWidth;
}

bool BrowsePaneStartVisible(const TfrmConfig& config) {
  return config.GetRememberBrowsePaneState() && config.GetLastBorwsePaneVisible();
}

TWindowPlacement StartPlacement(const TfrmConfig& config, TPoint screen) {
  TWindowPlacement placement;
  placement.applySize = config.RememberSize();
  placement.size = config.GetLastSize();
  if (config.Flag(TSetting::OpenMaximized)) {
    placement.kind = TWindowPlacement::Maximized;
  } else if (config.IsFirstRun() || !config.RememberPosition()) {
    placement.kind = TWindowPlacement::Centred;
  } else {
    const TPoint p = config.GetLastPosition();
    if (p.x >= 0 && p.x < screen.x && p.y >= 0 && p.y < screen.y) {
      placement.kind = TWindowPlacement::AtPosition;
      placement.position = p;
    }
  }
  return placement;
}
