// An in-memory TFileSystem for tests: files are byte strings, folders a set of
// paths; every call is counted so a test can see what was read.
#pragma once

#include <map>
#include <set>
#include <string>

#include "platform/UnitFileSystem.h"

class TFakeFileSystem : public TFileSystem {
 public:
  void AddFile(const std::u16string& path, std::string bytes) { files_[path] = std::move(bytes); }
  void AddFolder(const std::u16string& path) { folders_.insert(path); }
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
  // The next `count` writes (WriteWholeFile, ReplaceFileAtomically) fail with `err`.
  void FailWrites(int count, int err = 28 /* ENOSPC */) { failWrites_ = count, failErrno_ = err; }

 private:
  std::map<std::u16string, std::string> files_;
  std::set<std::u16string> folders_;
  int opens_ = 0;
  int failWrites_ = 0;
  int failErrno_ = 0;
};
