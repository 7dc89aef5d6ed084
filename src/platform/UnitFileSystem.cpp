#include "platform/UnitFileSystem.h"

#include <cerrno>
#include <utility>

namespace {

std::u16string Below(const std::u16string& base, const std::u16string& relative) {
  return base.empty() || base.back() == u'/' ? base + relative : base + u'/' + relative;
}

TStatus NotBelow(const std::u16string& base, const std::u16string& relative) {
  return TStatus::Error(EINVAL, Below(base, relative), u"The name would leave the folder");
}

// Every call by the full path, through the file system's own methods.
class TPathFolderHandle : public TFolderHandle {
 public:
  TPathFolderHandle(TFileSystem& fs, std::u16string base) : fs_(fs), base_(std::move(base)) {}

  bool Exists(const std::u16string& relative) override { return fs_.Exists(Below(base_, relative)); }
  TStatus GetEntryIdentity(const std::u16string& relative, TEntryIdentity& id) override {
    return fs_.GetEntryIdentity(Below(base_, relative), id);
  }
  TStatus RenameNoReplaceBeneath(const std::u16string& fromRelative,
                                 const std::u16string& toRelative) override {
    return fs_.RenameNoReplaceBeneath(base_, fromRelative, toRelative);
  }

 private:
  TFileSystem& fs_;
  const std::u16string base_;
};

}  // namespace

std::vector<TEntryIdentity> TFolderHandle::EntryIdentities(
    const std::vector<std::u16string_view>& relative) {
  std::vector<TEntryIdentity> ids(relative.size());
  for (size_t i = 0; i < relative.size(); ++i) {
    if (!GetEntryIdentity(std::u16string(relative[i]), ids[i]).ok()) ids[i] = TEntryIdentity();
  }
  return ids;
}

std::unique_ptr<TIdentitiesAhead> TFolderHandle::ReadIdentitiesAhead(
    std::vector<std::u16string_view> /*relative*/) {
  return nullptr;
}

TIdentitiesAhead::TIdentitiesAhead(
    std::vector<std::u16string_view> names,
    std::function<void(std::u16string_view name, TEntryIdentity& id)> read)
    : names_(std::move(names)),
      ids_(names_.size()),
      work_(names_.size(), [this, read = std::move(read)](size_t i) { read(names_[i], ids_[i]); }) {}

std::vector<TEntryIdentity> TIdentitiesAhead::Stop() {
  ids_.resize(work_.Stop());
  return std::move(ids_);
}

namespace {

// Content kept until it is committed by ReplaceFileAtomically.
class TKeptReplacement : public TPreparedReplacement {
 public:
  TKeptReplacement(TFileSystem& fs, std::u16string path, std::string bytes)
      : fs_(fs), path_(std::move(path)), bytes_(std::move(bytes)) {}
  TStatus Prepared() const override { return TStatus::Ok(); }
  TStatus Commit() override { return fs_.ReplaceFileAtomically(path_, bytes_); }

 private:
  TFileSystem& fs_;
  std::u16string path_;
  std::string bytes_;
};

}  // namespace

std::unique_ptr<TPreparedReplacement> TFileSystem::PrepareReplacement(const std::u16string& path,
                                                                      const std::string& bytes) {
  return std::make_unique<TKeptReplacement>(*this, path, bytes);
}

std::unique_ptr<TFolderHandle> TFileSystem::OpenFolderHandle(const std::u16string& base) {
  return std::make_unique<TPathFolderHandle>(*this, base);
}

bool IsNameBelowFolder(std::u16string_view name) {
  if (name.find(u'\0') != std::u16string_view::npos) return false;
  size_t start = 0;
  while (true) {
    const size_t slash = name.find(u'/', start);
    const std::u16string_view part = name.substr(start, slash - start);
    if (part.empty() || part == u"." || part == u"..") return false;
    if (slash == std::u16string_view::npos) return true;
    start = slash + 1;
  }
}

TStatus TFileSystem::RenameNoReplaceBeneath(const std::u16string& base,
                                            const std::u16string& fromRelative,
                                            const std::u16string& toRelative) {
  if (!IsNameBelowFolder(fromRelative)) return NotBelow(base, fromRelative);
  if (!IsNameBelowFolder(toRelative)) return NotBelow(base, toRelative);
  return RenameNoReplace(Below(base, fromRelative), Below(base, toRelative));
}

TStatus TFileSystem::CreateFolderPathBeneath(const std::u16string& base,
                                             const std::u16string& relative) {
  if (!IsNameBelowFolder(relative)) return NotBelow(base, relative);
  return CreateFolderPath(Below(base, relative));
}

TStatus ReadFileRange(TFileSystem& fs, const std::u16string& path, uint64_t offset, size_t count,
                      std::string& out) {
  out.clear();
  std::unique_ptr<TRandomAccessFile> file;
  TStatus status = fs.OpenForReading(path, file);
  if (!status.ok()) return status;
  return file->Read(offset, count, out);
}
