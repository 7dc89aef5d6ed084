#include "platform/UnitFolderMonitor.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>

#include "platform/UnitText.h"

TFolderMonitor::~TFolderMonitor() { Cancel(); }

void TFolderMonitor::SetFolder(std::u16string folder) {
  if (folder.empty()) return;
  if (folder.back() != u'/') folder.push_back(u'/');
  if (folder == folder_) return;
  Cancel();
  folder_ = std::move(folder);
  fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (fd_ < 0) return;
  // Names only, this folder only: creations, deletions and renames.
  constexpr uint32_t kNames = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
  if (::inotify_add_watch(fd_, Utf16ToUtf8(folder_).c_str(), kNames | IN_ONLYDIR) < 0) Cancel();
}

void TFolderMonitor::Cancel() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

bool TFolderMonitor::TakeChange() {
  if (fd_ < 0) return false;
  alignas(struct inotify_event) char buffer[4096];
  bool changed = false;
  while (true) {
    const ssize_t read = ::read(fd_, buffer, sizeof buffer);
    if (read <= 0) break;
    changed = true;
  }
  if (changed) Cancel();  // each watch reports one change
  return changed;
}
