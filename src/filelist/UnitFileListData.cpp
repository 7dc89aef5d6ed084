#include "filelist/UnitFileListData.h"

#include "platform/UnitBlockPool.h"

namespace {

const std::u16string kEmptyText;

TBlockPool& RowPool() {
  // Never destroyed: rows of lists that live until exit are freed after it.
  static auto* pool = new TBlockPool(sizeof(TFileListData));
  return *pool;
}

}  // namespace

void TFileListData::SetType(std::u16string value, bool isDir) {
  fType = isDir ? std::u16string(kFolderType) : std::move(value);
}

const std::u16string& TFileListData::GetAltName() const { return kEmptyText; }

const std::u16string& TFileListData::ColumnText(int column) const {
  switch (column) {
    case kNameColumn: return caption;
    case kNewNameColumn: return fNewName;
    case kSizeColumn: return fSize;
    case kTypeColumn: return fType;
    case kDateColumn: return GetDate();
    case kDateCreatedColumn: return GetDateCreated();
    default: return kEmptyText;
  }
}

const std::u16string& TFileListData::GetCustomValue(size_t i) const {
  return i < fcustomdata.size() ? fcustomdata[i] : kEmptyText;
}

TSharedText TFileListData::ShareText(std::u16string_view value) {
  if (value.empty()) return nullptr;
  // A copy of exactly the text: one built piece by piece holds spare room.
  return std::make_shared<const std::u16string>(value);
}

const std::u16string& TFileListData::TextOf(const TSharedText& text) {
  return text ? *text : kEmptyText;
}

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
