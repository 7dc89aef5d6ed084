// Watches the shown folder for entries created, deleted or renamed by
// someone else (not in its sub-folders), and reports the first change once.
// The window watches Descriptor() in its event loop and asks TakeChange.
#pragma once

#include <string>

class TFolderMonitor {
 public:
  TFolderMonitor() = default;
  ~TFolderMonitor();
  TFolderMonitor(const TFolderMonitor&) = delete;
  TFolderMonitor& operator=(const TFolderMonitor&) = delete;

  // Starts watching `folder` (a trailing "/" is added) unless it is the
  // folder watched last: the same folder is never watched again, also after
  // a change was reported or the watch cancelled. A folder that cannot be
  // watched is not, without a message.
  void SetFolder(std::u16string folder);
  // Stops watching; the folder is kept (renaming calls this first, so its
  // own moves are never reported).
  void Cancel();
  const std::u16string& Folder() const { return folder_; }
  // The descriptor that becomes readable on a change; -1 when not watching.
  int Descriptor() const { return fd_; }
  // True once, for the first change since watching began; the watch then
  // ends. Never blocks.
  bool TakeChange();

 private:
  std::u16string folder_;
  int fd_ = -1;
};
