// Guesses the text-file parameters after the user picked a file: the field
// delimiter from lines 2 and 3, and the matching mode from whether the names
// of the first listed files occur in the file.
#pragma once

#include <span>
#include <string>

#include "platform/UnitStatus.h"
#include "textfile/UnitTextFileParameters.h"

class TFileSystem;

// What detection needs of one entry of the file list.
struct TTextFileListEntry {
  std::u16string caption;  // the name as shown in the list
  bool isFolder = false;
  bool checked = true;
};

// Reads `parameters.txtTName` as plain lines (no skip). With fewer than 3
// lines nothing changes. Otherwise sets cbTDelim, txtTDelim and Match, and
// for "By Search" also cbxSearchWith 0 and txtTFind "?cfn?". A file that
// cannot be read changes nothing and gives its status.
TStatus DetectTextFileParameters(TFileSystem& fs, std::span<const TTextFileListEntry> list,
                                 TTextFileParameters& parameters);
