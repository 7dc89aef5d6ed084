// The column texts and packed times of one listed entry, as the folder scan
// fills them, and the record of a file listed on its own.
#pragma once

#include <cstdint>
#include <string>

#include "model/UnitRenameRecord.h"
#include "platform/UnitDateTime.h"
#include "platform/UnitStatus.h"

class TClock;
class TFileSystem;

// The size column: bytes with thousands separators ("1,536").
std::u16string FormatSizeColumn(uint64_t bytes);

// Packs the entry's times as DOS date-times. A zero creation time takes the
// last-write time (or `now` when that is zero too); a zero last-write time
// takes the creation time; a time the packing cannot hold takes `now`.
void PackEntryTimes(TDateTime created, TDateTime modified, TDateTime now, int32_t& createdPacked,
                    int32_t& modifiedPacked);

// A date column: the packed time with the short date, plus the long time when
// `showTime` is on.
std::u16string FormatDateColumn(int32_t packed, bool showTime);

// Fills `record` for `path` as the preview would for a list that holds only
// this entry, checked: positions and totals 1.
TStatus MakeSingleEntryRecord(TFileSystem& fs, const TClock& clock, const std::u16string& path,
                              RenameRecord& record);
