#include "filelist/UnitFileListData.h"

#include "platform/UnitBlockPool.h"

void TFileListData::SetType(std::u16string value, bool isDir) {
  SubItems[kTypeColumn] = isDir ? std::u16string(kFolderType) : std::move(value);
}

const std::u16string& TFileListData::GetCustomValue(size_t i) const {
  static const std::u16string kEmpty;
  return i < fcustomdata.size() ? fcustomdata[i] : kEmpty;
}

namespace {

TBlockPool& RowPool() {
  // Never destroyed: rows of lists that live until exit are freed after it.
  static auto* pool = new TBlockPool(sizeof(TFileListData));
  return *pool;
}

}  // namespace

void* TFileListData::operator new(size_t size) {
  if (size != sizeof(TFileListData)) return ::operator new(size);
  return RowPool().Allocate();
}

void TFileListData::operator delete(void* row, size_t size) {
  if (size != sizeof(TFileListData)) {
    ::operator delete(row);
  } else {
    RowPool().Free(row);
  }
}
