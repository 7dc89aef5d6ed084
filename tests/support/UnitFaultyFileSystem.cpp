#include "support/UnitFaultyFileSystem.h"

#include <cstring>

#include "platform/UnitText.h"

namespace {
TStatus Injected(int err, const std::u16string& path) {
  return TStatus::Error(err, path, Utf8ToUtf16(std::strerror(err)));
}
}  // namespace

bool TFaultyFileSystem::WriteFails() {
  if (failWrites_ <= 0) return false;
  --failWrites_;
  return true;
}

TStatus TFaultyFileSystem::WriteWholeFile(const std::u16string& path, const std::string& bytes) {
  if (WriteFails()) return Injected(writeErrno_, path);
  return target_.WriteWholeFile(path, bytes);
}

TStatus TFaultyFileSystem::ReplaceFileAtomically(const std::u16string& path,
                                                 const std::string& bytes) {
  if (WriteFails()) return Injected(writeErrno_, path);
  return target_.ReplaceFileAtomically(path, bytes);
}

template <typename TMove>
TStatus TFaultyFileSystem::Record(const std::u16string& from, const std::u16string& to,
                                  const TMove& move) {
  TRenameCall call{from, to, 0, false};
  const auto failure = failing_.find(RenameCount() + 1);
  const bool inject = failure != failing_.end();
  TStatus status = inject ? Injected(failure->second, from) : move();
  call.code = status.ok() ? 0 : status.code();
  call.injected = inject;
  renames_.push_back(std::move(call));
  return status;
}

TStatus TFaultyFileSystem::RenameNoReplace(const std::u16string& from, const std::u16string& to) {
  return Record(from, to, [&] { return target_.RenameNoReplace(from, to); });
}

TStatus TFaultyFileSystem::RenameNoReplaceBeneath(const std::u16string& base,
                                                  const std::u16string& fromRelative,
                                                  const std::u16string& toRelative) {
  const std::u16string folder = base.empty() || base.back() == u'/' ? base : base + u'/';
  return Record(folder + fromRelative, folder + toRelative,
                [&] { return target_.RenameNoReplaceBeneath(base, fromRelative, toRelative); });
}
