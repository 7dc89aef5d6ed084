// File systems of a chosen kind for tests: an image file formatted by its
// mkfs tool, attached to a loop device and mounted below a work folder (by
// the kernel, or by a FUSE driver). The
// object unmounts, detaches and deletes it again when it goes, also when the
// test that made it fails. Where the machine does not allow it (not root, no
// loop devices, no mkfs tool, a kernel without the file system) nothing is
// mounted and SkipReason() says why.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TCommandResult {
  int code = -1;       // the exit code; -1 when the program could not be run
  std::string output;  // standard output and standard error together
};

// Runs `argv` (the program looked up in PATH, /usr/sbin and /sbin) and waits.
TCommandResult RunCommand(const std::vector<std::string>& argv);

enum class TLoopKind : uint8_t {
  Vfat,          // case-insensitive, no hard links, names of UTF-16 units
  Ext4,          // the whole image as one folder
  Ext4Casefold,  // Root() is a folder with the casefold attribute (+F)
  ExfatFuse,     // exFAT through FUSE: case-insensitive, no RENAME_NOREPLACE, no links
};

class TLoopMount {
 public:
  // Makes a `megabytes` MiB image of `kind` in `workFolder` and mounts it.
  TLoopMount(TLoopKind kind, const std::string& workFolder, int megabytes);
  ~TLoopMount();
  TLoopMount(const TLoopMount&) = delete;
  TLoopMount& operator=(const TLoopMount&) = delete;

  bool Mounted() const { return !root_.empty(); }
  // The folder to work in; empty when nothing is mounted.
  const std::string& Root() const { return root_; }
  const std::string& MountPoint() const { return mountPoint_; }
  const std::string& SkipReason() const { return skipReason_; }

 private:
  bool Skip(const std::string& reason);
  void Unmount();

  std::string image_;
  std::string mountPoint_;
  std::string device_;
  std::string root_;
  std::string skipReason_;
  bool mounted_ = false;
};

// Fills the file system that holds `folder` with the file `folder`/`name`
// until writes fail, then shortens that file so that about `leaveFree` bytes
// are free again. Returns the file's path.
std::string FillUp(const std::string& folder, const std::string& name, uint64_t leaveFree);
