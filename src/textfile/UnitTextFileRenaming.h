// The preview's two hooks into text-file renaming: the preparation at the start
// of every preview run and the per-entry assignment of "?text1?".."?text99?".
#pragma once

#include <string>
#include <string_view>

#include "platform/UnitStatus.h"
#include "textfile/UnitTextFileParameters.h"

class TFileSystem;
class TMetaVariables;
class TTextFileFormat;
struct RenameRecord;

// The skip count of `txtTSkip`: an empty or non-numeric text gives 0.
int SkipCountFromText(std::u16string_view txtTSkip);
// The delimiter of `txtTDelim`: empty gives ",", "tab" in any letter case the
// tab character, anything else its first character.
char16_t DelimiterFromText(std::u16string_view txtTDelim);
// Sets the format's skip count and delimiter from the parameters (a change
// makes the next load read the file again).
void ApplyTextFileLayout(const TTextFileParameters& parameters, TTextFileFormat& format);
// True when `path` names an existing file (not a folder).
bool TextFileExists(TFileSystem& fs, const std::u16string& path);

class TTextFileRenaming {
 public:
  // `format` is the application's one TTextFileFormat. Both must outlive this.
  TTextFileRenaming(TFileSystem& fs, TTextFileFormat& format) : fs_(fs), format_(format) {}

  // Start of a preview run: keeps the parameters for the run and, when the
  // named file exists, applies skip count and delimiter and loads it (again
  // only when file, skip count or delimiter changed). A missing file is no
  // error: every entry then gets empty values. A file that exists but cannot
  // be read gives its status (and empty values).
  TStatus Prepare(const TTextFileParameters& parameters);
  // Whether the last Prepare found the file.
  bool Prepared() const { return prepared_; }

  // For one checked entry, before the script runs on it: clears the text
  // fields of `vars` and fills them from the entry's line. `position` is the
  // entry's 1-based position among the checked entries (the counter's
  // position); by search the search text is expanded for `rec`. Returns the
  // 0-based line taken, or -1 when the entry has none.
  int AssignFields(const RenameRecord& rec, int position, TMetaVariables& vars);

 private:
  int MatchLine(const RenameRecord& rec, int position, TMetaVariables& vars);

  TFileSystem& fs_;
  TTextFileFormat& format_;
  TTextFileParameters parameters_;
  bool prepared_ = false;
};
