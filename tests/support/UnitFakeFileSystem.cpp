#include "support/UnitFakeFileSystem.h"

#include <cerrno>

namespace {

class TFakeRandomAccessFile : public TRandomAccessFile {
 public:
  explicit TFakeRandomAccessFile(std::string bytes) : bytes_(std::move(bytes)) {}
  uint64_t Size() const override { return bytes_.size(); }
  TStatus Read(uint64_t offset, size_t count, std::string& out) const override {
    out.clear();
    if (offset < bytes_.size()) out = bytes_.substr(static_cast<size_t>(offset), count);
    return TStatus::Ok();
  }

 private:
  std::string bytes_;
};

}  // namespace

const std::string* TFakeFileSystem::FileBytes(const std::u16string& path) const {
  const auto it = files_.find(path);
  return it == files_.end() ? nullptr : &it->second;
}

TStatus TFakeFileSystem::OpenForReading(const std::u16string& path,
                                        std::unique_ptr<TRandomAccessFile>& file) {
  ++opens_;
  file.reset();
  const auto it = files_.find(path);
  if (it == files_.end()) return TStatus::Error(ENOENT, path, u"No such file or directory");
  file = std::make_unique<TFakeRandomAccessFile>(it->second);
  return TStatus::Ok();
}

TStatus TFakeFileSystem::GetFileInfo(const std::u16string& path, TFileInfo& info) {
  info = TFileInfo();
  if (folders_.count(path) != 0) {
    info.isFolder = true;
    return TStatus::Ok();
  }
  const auto it = files_.find(path);
  if (it == files_.end()) return TStatus::Error(ENOENT, path, u"No such file or directory");
  info.size = it->second.size();
  return TStatus::Ok();
}

bool TFakeFileSystem::Exists(const std::u16string& path) {
  return files_.count(path) != 0 || folders_.count(path) != 0;
}

TStatus TFakeFileSystem::WriteWholeFile(const std::u16string& path, const std::string& bytes) {
  if (failWrites_ > 0) {
    --failWrites_;
    return TStatus::Error(failErrno_, path, u"Injected write failure");
  }
  files_[path] = bytes;
  return TStatus::Ok();
}

TStatus TFakeFileSystem::ReadWholeFile(const std::u16string& path, std::string& bytes) {
  ++opens_;
  const auto it = files_.find(path);
  if (it == files_.end()) return TStatus::Error(ENOENT, path, u"No such file or directory");
  bytes = it->second;
  return TStatus::Ok();
}

TStatus TFakeFileSystem::ReplaceFileAtomically(const std::u16string& path,
                                               const std::string& bytes) {
  return WriteWholeFile(path, bytes);  // all or nothing in memory
}

TStatus TFakeFileSystem::DeleteFile(const std::u16string& path) {
  files_.erase(path);
  return TStatus::Ok();
}

TStatus TFakeFileSystem::CreateFolderPath(const std::u16string& path) {
  folders_.insert(path);
  return TStatus::Ok();
}
