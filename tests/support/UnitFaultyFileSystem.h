// A TFileSystem that forwards every call to another one and fails chosen
// renames or writes with a chosen errno, recording every rename, so a test can
// break exactly one move of a run and see what was attempted.
#pragma once

#include <cerrno>
#include <map>
#include <string>
#include <vector>

#include "platform/UnitFileSystem.h"

class TFaultyFileSystem : public TFileSystem {
 public:
  struct TRenameCall {
    std::u16string from;
    std::u16string to;
    int code = 0;           // 0 on success, else the errno of the failure
    bool injected = false;  // the failure was injected, the wrapped system was not called
  };

  // REQUIRES: `target` outlives the wrapper.
  explicit TFaultyFileSystem(TFileSystem& target) : target_(target) {}

  // The `k`-th call of RenameNoReplace from now on (k >= 1) fails with `err`
  // and leaves the disk alone. Several calls may be marked.
  void FailRename(int k, int err = EIO) { failing_[RenameCount() + k] = err; }
  // The next `count` writes (WriteWholeFile, ReplaceFileAtomically) fail with `err`.
  void FailWrites(int count, int err = ENOSPC) { failWrites_ = count, writeErrno_ = err; }
  const std::vector<TRenameCall>& Renames() const { return renames_; }
  int RenameCount() const { return static_cast<int>(renames_.size()); }

  TStatus OpenForReading(const std::u16string& path,
                         std::unique_ptr<TRandomAccessFile>& file) override {
    return target_.OpenForReading(path, file);
  }
  TStatus GetFileInfo(const std::u16string& path, TFileInfo& info) override {
    return target_.GetFileInfo(path, info);
  }
  bool DirectoryExists(const std::u16string& path) override {
    return target_.DirectoryExists(path);
  }
  bool Exists(const std::u16string& path) override { return target_.Exists(path); }
  TStatus GetEntryIdentity(const std::u16string& path, TEntryIdentity& id) override {
    return target_.GetEntryIdentity(path, id);
  }
  TStatus WriteWholeFile(const std::u16string& path, const std::string& bytes) override;
  TStatus ReadWholeFile(const std::u16string& path, std::string& bytes) override {
    return target_.ReadWholeFile(path, bytes);
  }
  TStatus ReplaceFileAtomically(const std::u16string& path, const std::string& bytes) override;
  TStatus DeleteFile(const std::u16string& path) override { return target_.DeleteFile(path); }
  void RemoveLeftOverReplacements(const std::u16string& folder) override {
    target_.RemoveLeftOverReplacements(folder);
  }
  TStatus CreateFolderPath(const std::u16string& path) override {
    return target_.CreateFolderPath(path);
  }
  TStatus RemoveEmptyFolder(const std::u16string& path) override {
    return target_.RemoveEmptyFolder(path);
  }
  TStatus ListFolder(const std::u16string& path, const TFolderVisitor& visit) override {
    return target_.ListFolder(path, visit);
  }
  TStatus RenameNoReplace(const std::u16string& from, const std::u16string& to) override;
  // Counted, failed and recorded (under the full names) as RenameNoReplace,
  // and otherwise handed on as they are, so the wrapped system's own checks
  // of the names below `base` apply.
  TStatus RenameNoReplaceBeneath(const std::u16string& base, const std::u16string& fromRelative,
                                 const std::u16string& toRelative) override;
  TStatus CreateFolderPathBeneath(const std::u16string& base,
                                  const std::u16string& relative) override {
    return target_.CreateFolderPathBeneath(base, relative);
  }

 private:
  // Records one rename call from `from` to `to`; `move` runs it unless a
  // failure is injected.
  template <typename TMove>
  TStatus Record(const std::u16string& from, const std::u16string& to, const TMove& move);
  // True (and one failure used) when the next write is to fail.
  bool WriteFails();

  TFileSystem& target_;
  std::vector<TRenameCall> renames_;
  std::map<int, int> failing_;  // 1-based number of a rename call that fails -> errno
  int failWrites_ = 0;
  int writeErrno_ = ENOSPC;
};
