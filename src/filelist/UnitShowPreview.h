// The preview: computes the new name of every checked entry of the file list
// by running the script, marks colliding and illegal new names and counts
// them. It never touches the disk.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "filelist/UnitCaseConversion.h"
#include "platform/UnitStatus.h"

class TFrmDummyShowPreview;
class TFrmScriptActions;
class TProgress;
class TScriptContext;
class TTextFileRenaming;
struct TTextFileParameters;

// The counting options of the main window.
struct TCountingOptions {
  bool rbUsePosition = false;        // "use position in list" instead of "start counting at"
  std::u16string txtStartAt = u"1";  // "start counting at"
  std::u16string txtIncrement = u"1";// "increment by"
  bool cbResetNewFolder = false;     // "on new folder  (recursive/subfolder scan)"
};

struct TPreviewOptions {
  TCountingOptions counting;
  TCaseOptions caseOptions;
  bool useRegExp = false;                     // "Use full Regular Expressions"
  std::vector<std::u16string> customColumns;  // templates of the custom columns, in order
};

struct TPreviewResult {
  bool ran = false;          // false when a refresh or another preview was running
  int ChangedCount = 0;
  int CollisionCount = 0;
  int IllegalCount = 0;
  int RegExpError = 0;       // the last regular-expression error code, 0 when none
  TStatus readError;         // the first tag or text file that could not be read
  std::u16string subStatus;  // " Error in Regular Expression: " + code, or empty
};

// Runs the preview over `list`. `textFile` may be null (no text-file
// renaming); `textParameters` is used with it.
TPreviewResult ShowPreviewList(TFrmDummyShowPreview& list, const TFrmScriptActions& script,
                               TScriptContext& ctx, const TPreviewOptions& options,
                               TProgress& progress, TTextFileRenaming* textFile = nullptr,
                               const TTextFileParameters* textParameters = nullptr);

// Whether a new name (relative to the listed folder, "/" between folders) is
// illegal: it holds ? < > " : | * or a NUL, it would leave the listed
// folder (absolute, or a component that is empty, "." or ".."), or a
// component is longer than kMaxNameBytes in UTF-8 bytes.
bool IsIllegalNewName(std::u16string_view fullRelativeNewName);

// The three panels of the status line.
std::array<std::u16string, 3> StatusPanels(int files, int folders, int checked, int changed,
                                           int collisions, int illegal,
                                           std::u16string_view subStatus);
