#include "support/UnitFakeFileSystem.h"

#include <algorithm>
#include <cerrno>
#include <utility>
#include <vector>

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
  const auto times = times_.find(path);
  if (times != times_.end()) {
    info.modified = times->second.first;
    info.created = times->second.second;
  }
  const size_t nameStart = path.rfind(u'/') + 1;  // 0 when there is no "/"
  info.hidden = nameStart < path.size() && path[nameStart] == u'.';
  if (folders_.count(path) != 0) {
    info.isFolder = true;
    return TStatus::Ok();
  }
  const auto it = files_.find(path);
  if (it == files_.end()) {
    info = TFileInfo();
    return TStatus::Error(ENOENT, path, u"No such file or directory");
  }
  info.size = it->second.size();
  return TStatus::Ok();
}

namespace {

// Adds the name of `path` when it lies directly inside `folder` (given with its
// trailing "/"); false once `path` is past the folder in sorted order.
bool CollectChild(const std::u16string& path, const std::u16string& folder,
                  std::vector<std::u16string>& names) {
  if (path.compare(0, folder.size(), folder) != 0) return false;
  const std::u16string name = path.substr(folder.size());
  if (!name.empty() && name.find(u'/') == std::u16string::npos) names.push_back(name);
  return true;
}

}  // namespace

TStatus TFakeFileSystem::ListFolder(const std::u16string& path, const TFolderVisitor& visit) {
  ++lists_;
  std::u16string folder = path;
  while (folder.size() > 1 && folder.back() == u'/') folder.pop_back();
  const auto failure = failListing_.find(folder);
  if (failure != failListing_.end()) {
    return TStatus::Error(failure->second, path, u"Permission denied");
  }
  if (folders_.count(folder) == 0) return TStatus::Error(ENOENT, path, u"No such file or directory");
  if (folder != u"/") folder.push_back(u'/');
  std::vector<std::u16string> names;
  for (auto it = files_.lower_bound(folder); it != files_.end(); ++it) {
    if (!CollectChild(it->first, folder, names)) break;
  }
  for (auto it = folders_.lower_bound(folder); it != folders_.end(); ++it) {
    if (!CollectChild(*it, folder, names)) break;
  }
  std::sort(names.begin(), names.end());
  TFolderEntry entry;
  for (const std::u16string& name : names) {
    entry.name = name;
    entry.isLink = false;
    if (!GetFileInfo(folder + name, entry.info).ok()) continue;
    (void)GetEntryIdentity(folder + name, entry.identity);
    if (!visit(entry)) break;
  }
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
  ids_.erase(path);
  return TStatus::Ok();
}

TStatus TFakeFileSystem::CreateFolderPath(const std::u16string& path) {
  folders_.insert(path);
  return TStatus::Ok();
}

namespace {

std::u16string ParentOf(const std::u16string& path) {
  const size_t slash = path.rfind(u'/');
  return slash == std::u16string::npos ? std::u16string() : path.substr(0, slash);
}

const std::u16string& KeyOf(const std::u16string& key) { return key; }
template <typename Value>
const std::u16string& KeyOf(const std::pair<const std::u16string, Value>& entry) {
  return entry.first;
}
std::u16string WithKey(const std::u16string&, std::u16string key) { return key; }
template <typename Value>
std::pair<std::u16string, Value> WithKey(const std::pair<const std::u16string, Value>& entry,
                                         std::u16string key) {
  return {std::move(key), entry.second};
}

// Gives every key equal to `from` or below it (`from` + "/...") the prefix `to`.
// Such keys all begin with `from`, so they sit together in the sorted order.
template <typename Container>
void MoveKeys(Container& keys, const std::u16string& from, const std::u16string& to) {
  std::vector<decltype(WithKey(*keys.begin(), std::u16string()))> moved;
  for (auto it = keys.lower_bound(from); it != keys.end();) {
    const std::u16string& key = KeyOf(*it);
    if (key.compare(0, from.size(), from) != 0) break;
    if (key.size() != from.size() && key[from.size()] != u'/') {
      ++it;
      continue;
    }
    moved.push_back(WithKey(*it, to + key.substr(from.size())));
    it = keys.erase(it);
  }
  for (auto& entry : moved) keys.insert(std::move(entry));
}

}  // namespace

TStatus TFakeFileSystem::RenameNoReplace(const std::u16string& from, const std::u16string& to) {
  if (!Exists(from)) return TStatus::Error(ENOENT, from, u"No such file or directory");
  if (Exists(to)) return TStatus::Error(EEXIST, to, u"File exists");
  const bool isFolder = folders_.count(from) != 0;
  if (isFolder && to.compare(0, from.size() + 1, from + u'/') == 0) {
    return TStatus::Error(EINVAL, from, u"Invalid argument");
  }
  const std::u16string targetFolder = ParentOf(to);
  if (targetFolder != ParentOf(from) && !targetFolder.empty() &&
      folders_.count(targetFolder) == 0) {
    return TStatus::Error(ENOENT, from, u"No such file or directory");
  }
  MoveKeys(files_, from, to);
  MoveKeys(folders_, from, to);
  MoveKeys(times_, from, to);
  MoveKeys(ids_, from, to);
  return TStatus::Ok();
}

TStatus TFakeFileSystem::GetEntryIdentity(const std::u16string& path, TEntryIdentity& id) {
  id = TEntryIdentity();
  if (!Exists(path)) return TStatus::Error(ENOENT, path, u"No such file or directory");
  const auto [at, added] = ids_.emplace(path, nextId_);
  if (added) ++nextId_;
  id.device = 1;
  id.inode = at->second;
  return TStatus::Ok();
}
