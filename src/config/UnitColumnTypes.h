// The kinds of file-list columns and the list column record the column
// manager keeps for each of them.
#pragma once

#include <string>

enum TColumnType {
  COL_TYPE_NAME = 0,
  COL_TYPE_NEWNAME = 1,
  COL_TYPE_SIZE = 2,
  COL_TYPE_TYPE = 3,
  COL_TYPE_DATE = 4,  // date modified
  COL_TYPE_DATECREATED = 5,
  COL_TYPE_CUSTOM = 6,
};

// Sort kinds of a custom column reuse the ordinals of Name, Size and Date.
enum TCustomSortKind { SORT_AS_TEXT = 0, SORT_AS_NUMBER = 2, SORT_AS_DATE = 4 };

enum class TColumnAlignment { Left, Right };

struct TListColumn {
  int id = 0;            // identity that survives moves and deletions of others
  std::u16string title;  // the caption without the sort prefix
  TColumnType kind = COL_TYPE_NAME;
  TColumnAlignment alignment = TColumnAlignment::Left;
  int width = 0;        // pixels; 0 when hidden
  int tag = 0;          // custom columns: the negated position in the custom list
  size_t registry = 0;  // registry position: sort flag and automatic width
};

// What a custom definition owns: its list column and its sort kind.
struct TColumnTypeWrapper {
  int columnitem = 0;  // id of the list column
  int columnType = SORT_AS_TEXT;
};

struct TCustomColumn {
  std::u16string title;
  std::u16string data;  // the template with meta variables
  TColumnTypeWrapper wrapper;
};
