// What the file list model asks about the columns after its six standard
// ones: the custom columns, whose values the preview expands per entry.
#pragma once

#include <QVariant>

#include "filelist/UnitFileListSort.h"

class TFileListData;

class TCustomCells {
 public:
  virtual ~TCustomCells() = default;
  virtual int Count() const = 0;
  virtual QVariant Header(int custom) const = 0;
  virtual QVariant Cell(const TFileListData& entry, int custom, int role) const = 0;
  // The order a click on the custom column's header sorts by.
  virtual TSortOrder SortOrderOf(int custom) const = 0;
};
