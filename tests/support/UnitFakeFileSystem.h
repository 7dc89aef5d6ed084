// An in-memory TFileSystem for tests: files are byte strings, folders a set of
// paths; every call is counted so a test can see what was read.
#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>

#include "platform/UnitFileSystem.h"

class TFakeFileSystem : public TFileSystem {
 public:
  void AddFile(const std::u16string& path, std::string bytes) { files_[path] = std::move(bytes); }
  void AddFolder(const std::u16string& path) { folders_.insert(path); }
  // Last-write and creation times GetFileInfo and ListFolder report for `path`.
  void SetTimes(const std::u16string& path, TDateTime modified, TDateTime created) {
    times_[path] = {modified, created};
  }
  // ListFolder of `path` fails with `err` before listing anything.
  void FailListing(const std::u16string& path, int err = 13 /* EACCES */) {
    failListing_[path] = err;
  }
  int ListCount() const { return lists_; }
  const std::string* FileBytes(const std::u16string& path) const;
  int OpenCount() const { return opens_; }

  TStatus OpenForReading(const std::u16string& path,
                         std::unique_ptr<TRandomAccessFile>& file) override;
  TStatus GetFileInfo(const std::u16string& path, TFileInfo& info) override;
  bool DirectoryExists(const std::u16string& path) override { return folders_.count(path) != 0; }
  bool Exists(const std::u16string& path) override;
  TStatus WriteWholeFile(const std::u16string& path, const std::string& bytes) override;
  TStatus ReadWholeFile(const std::u16string& path, std::string& bytes) override;
  TStatus ReplaceFileAtomically(const std::u16string& path, const std::string& bytes) override;
  TStatus DeleteFile(const std::u16string& path) override;
  TStatus CreateFolderPath(const std::u16string& path) override;
  // The files and folders directly inside `path`, in name order.
  TStatus ListFolder(const std::u16string& path, const TFolderVisitor& visit) override;
  // Moves a file, or a folder with everything under it. Refuses an existing
  // target (EEXIST), a missing source (ENOENT), a folder moved into itself
  // (EINVAL) and, for a move to another folder, a target folder that is not
  // known (ENOENT).
  TStatus RenameNoReplace(const std::u16string& from, const std::u16string& to) override;
  // An identity given to each entry when first asked, kept across renames.
  TStatus GetEntryIdentity(const std::u16string& path, TEntryIdentity& id) override;
  // The next `count` writes (WriteWholeFile, ReplaceFileAtomically) fail with `err`.
  void FailWrites(int count, int err = 28 /* ENOSPC */) { failWrites_ = count, failErrno_ = err; }

 private:
  std::map<std::u16string, std::string> files_;
  std::set<std::u16string> folders_;
  std::map<std::u16string, std::pair<TDateTime, TDateTime>> times_;
  std::map<std::u16string, int> failListing_;
  std::map<std::u16string, uint64_t> ids_;
  uint64_t nextId_ = 1;
  int lists_ = 0;
  int opens_ = 0;
  int failWrites_ = 0;
  int failErrno_ = 0;
};
