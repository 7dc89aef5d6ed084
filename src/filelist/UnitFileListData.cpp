#include "filelist/UnitFileListData.h"

void TFileListData::SetType(std::u16string value, bool isDir) {
  SubItems[kTypeColumn] = isDir ? std::u16string(kFolderType) : std::move(value);
}

const std::u16string& TFileListData::GetCustomValue(size_t i) const {
  static const std::u16string kEmpty;
  return i < fcustomdata.size() ? fcustomdata[i] : kEmpty;
}
