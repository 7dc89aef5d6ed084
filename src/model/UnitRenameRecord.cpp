#include "model/UnitRenameRecord.h"

void SplitNameAndExtension(std::u16string_view fileName, std::u16string& name,
                           std::u16string& ext) {
  const size_t dot = fileName.rfind(u'.');
  if (dot == std::u16string_view::npos) {
    name = std::u16string(fileName);
    ext.clear();
  } else {
    name = std::u16string(fileName.substr(0, dot));
    ext = std::u16string(fileName.substr(dot + 1));
  }
}

std::u16string ExtractFilePath(std::u16string_view path) {
  const size_t slash = path.rfind(u'/');
  return slash == std::u16string_view::npos ? std::u16string()
                                            : std::u16string(path.substr(0, slash + 1));
}

std::u16string ExtractFileName(std::u16string_view path) {
  const size_t slash = path.rfind(u'/');
  return std::u16string(slash == std::u16string_view::npos ? path : path.substr(slash + 1));
}

void FillRenameRecordNames(RenameRecord& record, std::u16string_view folder,
                           std::u16string_view caption, bool isFolder,
                           std::u16string_view altname, std::u16string_view dateColumn) {
  std::u16string base(folder);
  if (!base.empty() && base.back() != u'/') base.push_back(u'/');
  record.FullName = base + std::u16string(caption);
  record.columnname = std::u16string(caption);
  record.shortname = std::u16string(altname);
  const std::u16string fileName = ExtractFileName(caption);
  if (isFolder) {
    record.name = fileName;
    record.ext.clear();
  } else {
    SplitNameAndExtension(fileName, record.name, record.ext);
  }
  record.filedate = std::u16string(dateColumn);
  if (!record.filedate.empty() && record.filedate.front() == u'[') {
    record.filedate = record.filedate.size() >= 2
                          ? record.filedate.substr(1, record.filedate.size() - 2)
                          : std::u16string();
  }
}
