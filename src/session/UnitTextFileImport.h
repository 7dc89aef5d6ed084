// The work behind the "Textfile Import" wizard: its own copy of the text-file
// parameters, the guess made when a file is chosen, the previews of its pages
// and what "Finish" hands to the main window's model and script. The wizard
// window only shows and edits this.
#pragma once

#include <string>
#include <vector>

#include "platform/UnitStatus.h"
#include "textfile/UnitTextFileParameters.h"
#include "textfile/UnitTextFileRenaming.h"

class TSession;
struct RenameRecord;

// The script "Finish" makes.
enum class TImportScript {
  AddBeginningEnding,  // "Add to Beginning/Ending of filename": the field in front of the name
  ReplaceName,         // "Replace entire filename": the field alone
  None,                // "Do not create a renaming script"
};

// One row of the matching preview.
struct TImportMatch {
  std::u16string name;        // the entry's name as listed
  std::u16string lineNumber;  // 1-based line number, "--" when no line matches
  std::u16string line;        // the line in double quotes, delimiters as blanks; empty for none
};

// One row of the renaming preview.
struct TImportNewName {
  std::u16string name;
  std::u16string newName;  // "--" when the entry has no line
};

class TTextFileImport {
 public:
  static constexpr int kFieldRows = 3;       // split lines in the settings grid
  static constexpr int kWholeLineRows = 2;   // whole lines there with the CSV switch off
  static constexpr int kPreviewEntries = 5;  // entries in the matching and renaming grids

  // The parameters start as the model's. REQUIRES: `session` outlives this.
  explicit TTextFileImport(TSession& session);

  // The wizard's controls.
  TTextFileParameters parameters;

  // The user chose `path`: takes it and, when the file has at least three
  // lines, guesses delimiter and matching mode from the file and the list.
  TStatus ChooseFile(const std::u16string& path);
  // Whether the named file exists (a folder does not count).
  bool FileExists() const;
  // Up to `count` lines from the top of the file, nothing skipped.
  TStatus FirstLines(int count, std::vector<std::u16string>& lines) const;

  // Reads the file again under the current skip count and delimiter; the
  // previews below show what it read. A missing file reads as no lines.
  TStatus Reload();
  // "?text1?", "?text2?", ... one per field of the first line (at least one,
  // at most 99); just "?text1?" with the CSV switch off.
  std::vector<std::u16string> FieldNames() const;
  // The first three lines split into FieldNames().size() fields, or the first
  // two whole lines with the CSV switch off.
  std::vector<std::vector<std::u16string>> FieldRows() const;
  // Up to five entries from the first file of the list on, with their lines.
  std::vector<TImportMatch> Matches();
  // The same entries with the name the script of `kind` would give them,
  // `column` being the 0-based field used.
  std::vector<TImportNewName> NewNames(TImportScript kind, int column);

  // Hands the parameters to the model and, unless `kind` is None, puts the
  // one step into the script: alone when `replaceScript`, else at its end.
  void Finish(TImportScript kind, int column, bool replaceScript);

 private:
  // The list rows the previews show.
  std::vector<int> PreviewRows() const;
  // Fills `rec` for list row `row`, shown `shown`-th (1-based), and assigns
  // its fields; the 0-based line taken, or -1.
  int MatchRow(int row, int shown, RenameRecord& rec);

  TSession& session_;
  TTextFileRenaming renaming_;
};

// "?textN?" for the 0-based field `column`.
std::u16string TextVariableName(int column);
