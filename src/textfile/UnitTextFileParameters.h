// The text-file parameters of the main window's panel (and the wizard's copies):
// which file supplies "?text1?".."?text99?" and how lines are matched to entries.
#pragma once

#include <string>

enum class TTextMatchMode {
  ByLineNumber,  // rbTMatch: the k-th checked entry takes line k
  BySearch,      // rbTFind: the first line that contains the search text
};

struct TTextFileParameters {
  std::u16string txtTName;                          // full path of the text file
  std::u16string txtTSkip = u"0";                   // lines to skip at the top, decimal
  bool cbTDelim = true;                             // split lines into fields; off: whole lines
  std::u16string txtTDelim = u",";                  // the delimiter character, or "TAB"
  TTextMatchMode Match = TTextMatchMode::ByLineNumber;
  int cbxSearchWith = 0;                            // 0 "?cfn?", 1 "?cfo?", 2 txtTFind
  std::u16string txtTFind = u"?cfn?";               // custom search text, may hold variables
};

// Only "?text1?" to "?text99?" exist.
inline constexpr int kMaxTextFields = 99;
