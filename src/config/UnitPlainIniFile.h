// The plain INI access of the small user-editable files ("menu.ini",
// "filter.ini", "insert3.ini", "customcolumns.ini"): UTF-8 text, updated key
// by key in place so comments and the user's layout survive.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/UnitStatus.h"

class TFileSystem;

// The text of a plain file: UTF-8 (an optional byte-order mark skipped), or
// Windows-1252 when the bytes are not valid UTF-8.
std::u16string DecodePlainText(std::string_view bytes);

// One key line of a section, as read (key and value trimmed, value unquoted).
struct TPlainIniValue {
  std::u16string key;
  std::u16string value;
};

class TPlainIniFile {
 public:
  // Parses the bytes of a file: UTF-8 (an optional byte-order mark is
  // skipped), or Windows-1252 when they are not valid UTF-8. Lines end with
  // LF, CR LF or CR. Anything that is neither a section line nor a key line
  // is kept as it stands and otherwise ignored.
  static TPlainIniFile FromBytes(std::string_view bytes);
  // The text as UTF-8 without byte-order mark, with the line ends it was read
  // with (LF for a new file).
  std::string ToBytes() const;

  bool HasSection(std::u16string_view section) const;
  // Section names in file order, each once.
  std::vector<std::u16string> SectionNames() const;
  // The key lines of a section in file order (a repeated key appears again).
  std::vector<TPlainIniValue> SectionValues(std::u16string_view section) const;

  // Section and key names match without regard to case. A value loses one
  // pair of enclosing quotation marks, double or single.
  std::u16string ReadString(std::u16string_view section, std::u16string_view key,
                            std::u16string_view defaultValue) const;
  // Decimal (or "0x"/"$" hexadecimal); missing or unreadable gives the default.
  int ReadInteger(std::u16string_view section, std::u16string_view key, int defaultValue) const;

  // Replaces the value of the first line of `key` in `section`, or appends the
  // key at the end of the section, or appends the section at the end of the
  // text. Line breaks in the value become blanks; a value that would not read
  // back as it is (outer blanks, enclosing quotation marks) is put in quotes.
  void WriteString(std::u16string_view section, std::u16string_view key, std::u16string_view value);
  void WriteInteger(std::u16string_view section, std::u16string_view key, int value);

 private:
  struct TLine {
    std::u16string text;  // as read or written, without line end
  };
  struct TSection {
    std::u16string name;
    size_t header = 0;  // index of the "[name]" line
    size_t end = 0;     // one past its last line
  };

  void Index();
  void InsertLine(size_t at, std::u16string text);
  const TSection* FindSection(std::u16string_view section) const;
  // Index of the first key line of `key` in `s`, or npos.
  size_t FindKey(const TSection& s, std::u16string_view key) const;

  std::vector<TLine> lines_;
  std::vector<TSection> sections_;
  std::unordered_map<std::u16string, size_t> firstSection_;  // lower-case name -> section
  std::string lineEnd_ = "\n";
};

// Reads `path` into `ini`. A missing file gives an empty `ini` and
// `existed` = false with an Ok status; a file that cannot be read gives an
// empty `ini` and the error.
TStatus LoadPlainIniFile(TFileSystem& fs, const std::u16string& path, TPlainIniFile& ini,
                         bool& existed);
// Writes `ini` to `path` in one atomic rewrite.
TStatus SavePlainIniFile(TFileSystem& fs, const std::u16string& path, const TPlainIniFile& ini);
