#include "platform/UnitFileSystem.h"

TStatus ReadFileRange(TFileSystem& fs, const std::u16string& path, uint64_t offset, size_t count,
                      std::string& out) {
  out.clear();
  std::unique_ptr<TRandomAccessFile> file;
  TStatus status = fs.OpenForReading(path, file);
  if (!status.ok()) return status;
  return file->Read(offset, count, out);
}
