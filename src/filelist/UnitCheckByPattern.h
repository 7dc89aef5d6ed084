// The check-by-pattern operation of the "Select" dialog: checks or unchecks
// the entries whose file name (without sub-folder) wholly matches a wildcard
// or regular-expression pattern.
#pragma once

#include <string>

#include "platform/UnitStatus.h"

class TFrmDummyShowPreview;

enum class TCheckAction { SelectOnly, Select, Clear };

struct TCheckPattern {
  std::u16string pattern = u"*.*";               // the pattern
  TCheckAction action = TCheckAction::SelectOnly; // "Select Only" / "Select" / "Clear"
  bool includeFolders = false;  // "&include folders"
  bool useRegExp = false;       // "use full regular expressions"
};

// "Select Only" first unchecks every entry, then checks the matching ones;
// "Select" checks them, "Clear" unchecks them. Folders take part only with
// `includeFolders`. Wildcards match in file-name mode ("*.*" takes every
// name, also one without an extension). A regular expression that does not
// compile changes nothing and is reported with its error code.
TStatus CheckByPattern(TFrmDummyShowPreview& list, const TCheckPattern& check);
