// The names of the simple meta variables, in table order, with the captions the
// variable picker shows, and the hashed lookup that expansion uses.
#pragma once

#include <span>
#include <string>
#include <string_view>

// Indexes of the simple variables in the table.
enum TSimpleVariable : int {
  svCurrentFolder = 0,     // "?cf?"
  svTodayShort = 1,        // "?cds?"
  svTodayMedium = 2,       // "?cdm?"
  svTodayLong = 3,         // "?cdl?"
  svDateShort = 4,         // "?ds?"
  svDateMedium = 5,        // "?dm?"
  svDateLong = 6,          // "?dl?"
  svExtension = 7,         // "?t?"
  svListTotal = 8,         // "?c?"
  svSelectedTotal = 9,     // "?sc?"
  svFolderTotal = 10,      // "?fc?"
  svSizeCommas = 11,       // "?zc?"
  svSizeGb2Dec = 12,       // "?zg2d?"
  svSizeGbCommas = 13,     // "?zgc?"
  svSizeGbPlain = 14,      // "?zgn?"
  svSizeMbCommas = 15,     // "?zmc?"
  svSizeMb2Dec = 16,       // "?zm2d?"
  svSizeMbPlain = 17,      // "?zmn?"
  svSizeKbCommas = 18,     // "?zkc?"
  svSizeKb2Dec = 19,       // "?zk2d?"
  svSizeKbPlain = 20,      // "?zkn?"
  svSizeBytes = 21,        // "?zn?"
  svCounter13 = 22,        // "?n13?" .. "?n01?" are 22 .. 34
  svCounter01 = 34,
  svCounter = 35,          // "?n00?"
  svFileNameExt = 36,      // "?cfn?"
  svFileName = 37,         // "?cfo?"
  svDateModified = 38,     // "?dmo?"
  svDateCreated = 39,      // "?dc?"
  svParentFolder = 40,     // "?pf?"
  svTemp = 41,             // "?temp?"
  svText1 = 42,            // "?text1?" .. "?text99?" are 42 .. 140
  svText99 = 140,
};

struct TVariableInfo {
  std::u16string_view name;     // lower case, both "?" included
  std::u16string_view caption;  // what the picker shows; empty when it shows none
};

// The 41 named variables of the table ("?cf?" .. "?temp?"), in order.
std::span<const TVariableInfo> SimpleVariables();

// The index of a simple variable by its lower-case name (both "?" included),
// the text fields included; -1 when the name is not in the table.
int FindSimpleVariable(std::u16string_view lowerName);

// The name of the variable at `index` (0 .. 140).
std::u16string SimpleVariableName(int index);
