#include "filelist/UnitEntryColumns.h"

#include "platform/UnitClock.h"
#include "platform/UnitFileSystem.h"
#include "platform/UnitNumberFormat.h"

std::u16string FormatSizeColumn(uint64_t bytes) {
  return FormatThousands(static_cast<long long>(bytes));
}

void PackEntryTimes(TDateTime created, TDateTime modified, TDateTime now, int32_t& createdPacked,
                    int32_t& modifiedPacked) {
  if (created == 0) created = modified != 0 ? modified : now;
  if (modified == 0) modified = created;
  const auto pack = [now](TDateTime value) {
    int32_t packed = 0;
    if (!DateTimeToDosDateTime(value, packed) || packed == 0) {
      if (!DateTimeToDosDateTime(now, packed)) packed = 0;
    }
    return packed;
  };
  createdPacked = pack(created);
  modifiedPacked = pack(modified);
}

std::u16string FormatDateColumn(int32_t packed, bool showTime) {
  TDateTime value = 0;
  if (!DosDateTimeToDateTime(packed, value)) return {};
  return FormatDateTime(showTime ? u"c" : u"ddddd", value);
}

TStatus MakeSingleEntryRecord(TFileSystem& fs, const TClock& clock, const std::u16string& path,
                              RenameRecord& record) {
  TFileInfo info;
  TStatus status = fs.GetFileInfo(path, info);
  if (!status.ok()) return status;
  record = RenameRecord();
  int32_t created = 0;
  int32_t modified = 0;
  PackEntryTimes(info.created, info.modified, clock.Now(), created, modified);
  FillRenameRecordNames(record, ExtractFilePath(path), ExtractFileName(path), info.isFolder, u"",
                        FormatDateColumn(modified, true));
  record.filesize = info.isFolder ? u"0" : FormatSizeColumn(info.size);
  record.Created = created;
  record.Modified = modified;
  record.listposition = record.listtotal = 1;
  record.selectedposition = record.selectedtotal = 1;
  record.foldertotal = info.isFolder ? 0 : 1;
  return TStatus::Ok();
}
