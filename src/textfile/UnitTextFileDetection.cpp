#include "textfile/UnitTextFileDetection.h"

#include <algorithm>

#include "textfile/UnitTextFileFormat.h"

namespace {

// Entries of the list examined for the matching mode.
constexpr size_t kWindow = 11;

bool HasQuotedPair(std::u16string_view line) {
  return std::count(line.begin(), line.end(), u'"') >= 2;
}

bool Holds(std::u16string_view line, char16_t c) {
  return line.find(c) != std::u16string_view::npos;
}

// Delimiter tests in their order; the last that both lines pass decides.
void DetectDelimiter(std::u16string_view second, std::u16string_view third,
                     TTextFileParameters& parameters) {
  parameters.cbTDelim = false;
  parameters.txtTDelim = u",";
  parameters.Match = TTextMatchMode::ByLineNumber;
  const auto pass = [&](const std::u16string& delimiter) {
    parameters.cbTDelim = true;
    parameters.txtTDelim = delimiter;
    parameters.Match = TTextMatchMode::BySearch;
  };
  const bool quoted = HasQuotedPair(second) && HasQuotedPair(third);
  if (quoted) pass(u",");
  if (quoted) pass(u"TAB");
  if (Holds(second, u'\t') && Holds(third, u'\t')) pass(u"TAB");
  if (Holds(second, u',') && Holds(third, u',')) pass(u",");
}

// Whether the names of the window's entries show that the file lists them.
bool NamesFound(TTextFileFormat& lines, std::span<const TTextFileListEntry> list, size_t first) {
  const size_t end = std::min(list.size(), first + kWindow);
  bool anyChecked = false;
  bool checkedInPlace = true;
  bool allFound = true;
  for (size_t i = first; i < end; ++i) {
    const int line = lines.FindLine(list[i].caption);
    allFound = allFound && line >= 0;
    if (list[i].checked) {
      anyChecked = true;
      checkedInPlace = checkedInPlace && line == static_cast<int>(i);
    }
  }
  return (anyChecked && checkedInPlace) || allFound;
}

void DetectMode(TTextFileFormat& lines, std::span<const TTextFileListEntry> list,
                TTextFileParameters& parameters) {
  const auto file = std::find_if(list.begin(), list.end(),
                                 [](const TTextFileListEntry& e) { return !e.isFolder; });
  if (file == list.end() ||
      !NamesFound(lines, list, static_cast<size_t>(file - list.begin()))) {
    parameters.Match = TTextMatchMode::ByLineNumber;
    return;
  }
  parameters.Match = TTextMatchMode::BySearch;
  parameters.cbxSearchWith = 0;
  parameters.txtTFind = u"?cfn?";
}

}  // namespace

TStatus DetectTextFileParameters(TFileSystem& fs, std::span<const TTextFileListEntry> list,
                                 TTextFileParameters& parameters) {
  TTextFileFormat lines;
  TStatus status = lines.LoadFromFile(fs, parameters.txtTName);
  if (!status.ok() || lines.Count() < 3) return status;
  DetectDelimiter(lines.Get(1), lines.Get(2), parameters);
  DetectMode(lines, list, parameters);
  return TStatus::Ok();
}
