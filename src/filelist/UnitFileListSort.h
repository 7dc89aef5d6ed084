// The order of the file list: folders before files, then the sort column
// (name in natural order, size, type, dates, custom columns by their kind),
// ascending or descending.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "filelist/UnitFileListData.h"
#include "model/UnitTagData.h"

enum class TSortKind {
  Name,
  NewName,  // not a sort key: entries keep their order
  Size,
  Type,
  DateModified,
  DateCreated,
  CustomText,
  CustomNumber,
  CustomDate,
};

struct TSortOrder {
  TSortKind kind = TSortKind::Name;  // what the sort column shows
  size_t customIndex = 0;            // custom kinds: the column's position in fcustomdata
  bool descending = false;           // never moves files above folders
};

// Sorts `rows` stably: entries the comparison finds equal keep their order.
// `tagdata` tells folders (through each row's `data`). Every comparison below
// is a strict weak order, whatever the texts hold.
void SortFileList(std::vector<std::unique_ptr<TFileListData>>& rows,
                  const std::vector<TTagData>& tagdata, const TSortOrder& order);

// The order SortFileList gives, as the old position of each row in its new
// place. Only reads `rows` and `tagdata`, so it may run on another thread as
// long as nobody changes them meanwhile.
std::vector<uint32_t> SortedPositions(const std::vector<std::unique_ptr<TFileListData>>& rows,
                                      const std::vector<TTagData>& tagdata,
                                      const TSortOrder& order);

// The Name column: folder parts first, then the name without its extension,
// then the extension, each in natural order with A-Z folded.
int CompareCaptions(std::u16string_view a, std::u16string_view b);

// A size or numeric custom value: only "+", "-", ASCII digits and the decimal
// separator are kept, so thousands separators drop out. Empty text, and text
// that is still not a number, count as 0.
double NumericSortValue(std::u16string_view text);

// A date value: one enclosing "[" "]" removed, read with the fixed formats.
// Ascending order puts empty texts first, then dates by time, then texts that
// are not dates, in code order.
int CompareDateTexts(std::u16string_view a, std::u16string_view b);
