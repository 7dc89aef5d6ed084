#include "model/UnitRenameRecord.h"

void SplitNameAndExtension(std::u16string_view fileName, std::u16string& name,
                           std::u16string& ext) {
  const size_t dot = fileName.rfind(u'.');
  // assign keeps the capacity the strings already have: no allocation per entry.
  if (dot == std::u16string_view::npos) {
    name.assign(fileName);
    ext.clear();
  } else {
    name.assign(fileName.substr(0, dot));
    ext.assign(fileName.substr(dot + 1));
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
  // The record is filled once per entry: assign into the fields it holds, so
  // their buffers are reused instead of made anew.
  record.FullName.assign(folder);
  if (!record.FullName.empty() && record.FullName.back() != u'/') record.FullName.push_back(u'/');
  record.FullName.append(caption);
  record.columnname.assign(caption);
  record.shortname.assign(altname);
  const size_t slash = caption.rfind(u'/');
  const std::u16string_view fileName =
      slash == std::u16string_view::npos ? caption : caption.substr(slash + 1);
  if (isFolder) {
    record.name.assign(fileName);
    record.ext.clear();
  } else {
    SplitNameAndExtension(fileName, record.name, record.ext);
  }
  if (!dateColumn.empty() && dateColumn.front() == u'[') {
    dateColumn = dateColumn.size() >= 2 ? dateColumn.substr(1, dateColumn.size() - 2)
                                        : std::u16string_view();
  }
  record.filedate.assign(dateColumn);
}
