// The lines of the text file that supplies "?textN?" values, split into
// delimited fields on demand. One instance serves the panel, the wizard and the
// preview, so a file is read again only when it or its layout changed.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/UnitStatus.h"
#include "textfile/UnitSubstringIndex.h"

class TFileSystem;

// Indexes are 0-based line numbers after the skipped lines. Lookups build
// their indexes lazily, so they are not const.
class TTextFileFormat {
 public:
  // Files larger than this are refused.
  static constexpr uint64_t kMaxFileBytes = uint64_t{1} << 30;

  TTextFileFormat();
  ~TTextFileFormat();
  TTextFileFormat(const TTextFileFormat&) = delete;
  TTextFileFormat& operator=(const TTextFileFormat&) = delete;

  // Reads `FileName` unless it is the file already held (LastFile). Line ends
  // are CR LF, LF or CR; the first SkipedLines lines are dropped. On failure
  // the list is empty, LastFile is empty and the status says why.
  TStatus LoadFromFile(TFileSystem& fs, const std::u16string& FileName);
  // Takes the lines of `bytes` as a file's (LastFile becomes empty).
  void LoadFromBytes(std::string_view bytes);
  void Clear();

  int Count() const { return static_cast<int>(fLines.size()); }
  // Line `Index`, or empty when there is none; valid until the lines change.
  std::u16string_view Get(int Index) const;
  // Replaces line `Index` (nothing happens when there is none).
  void Put(int Index, std::u16string_view Value);
  // Field `field` of line `line`, or empty when either does not exist.
  std::u16string GetField(int line, int field);
  // The first line that contains `search`, or -1; an empty search finds none.
  int FindLine(std::u16string_view search);
  // The first line whose field `columnindex` (not empty) occurs in `str`, or -1;
  // -1 when `columnindex` is negative or not below FieldCount.
  int FindLine_ColumnInStr(int columnindex, std::u16string_view str);

  char16_t Delim() const { return fDelim; }
  // A different value empties LastFile, so the next load reads the file again.
  void SetDelim(char16_t value);
  int SkipedLines() const { return fSkippedLines; }
  void SetSkipedLines(int value);
  // The number of fields of the first line at load time (0 without lines).
  int FieldCount() const { return fFieldCount; }
  const std::u16string& LastFile() const { return lastFile; }

 private:
  struct TLine {
    size_t start;
    size_t length;
  };
  struct TColumnIndex;
  struct TFieldCache;

  void SetText(std::u16string_view text);
  void ForgetLookups();
  void PutInOrder();
  int LineAt(size_t position) const;
  int ScanForLine(std::u16string_view search);
  const std::vector<std::u16string>& FieldsUpTo(int line, int field);
  void IndexColumn(int columnindex);
  std::u16string_view ColumnValue(size_t line) const;

  // The lines, each followed by "\n" while fInOrder; Put appends at the end.
  std::u16string fText;
  std::vector<TLine> fLines;
  bool fInOrder = true;
  bool fHasBreaks = false;  // a line put in holds CR or LF

  char16_t fDelim = u',';
  int fSkippedLines = 0;
  int fFieldCount = 0;
  std::u16string lastFile;

  TSubstringIndex fIndex;
  size_t fScanned = 0;  // code units searched without the index since the last change
  std::unique_ptr<TColumnIndex> fColumn;
  std::unique_ptr<TFieldCache> fFields;
};
