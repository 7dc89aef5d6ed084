// The text-file reader over arbitrary files: decoding, lines, fields, line
// searches (by scan and by the substring index), column lookups, parameter
// detection and the per-entry assignment of "?textN?".
//
// Input: byte 0 picks the delimiter, byte 1 the skip count (low bits) and the
// renaming switches (high bits), bytes 2..17 eight searches as (start, length)
// into the file's text; the rest is the file. Every answer of a lookup is
// checked against a plain scan of the lines.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "UnitFuzzInput.h"
#include "UnitMemoryFile.h"
#include "matching/UnitMetaVariables.h"
#include "model/UnitRenameRecord.h"
#include "support/UnitFakeFileSystem.h"
#include "support/UnitScriptTestContext.h"
#include "textfile/UnitCsvFields.h"
#include "textfile/UnitSubstringIndex.h"
#include "textfile/UnitTextFileDetection.h"
#include "textfile/UnitTextFileFormat.h"
#include "textfile/UnitTextFileRenaming.h"

namespace {

constexpr char16_t kFile[] = u"/t/list.txt";
// Lines whose fields are checked one by one; beyond them only searches run.
constexpr int kCheckedLines = 256;

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

char16_t Delimiter(uint8_t choice) {
  static constexpr std::array<char16_t, 4> kUsual = {u',', u'\t', u';', u'|'};
  return choice < 128 ? kUsual[choice % kUsual.size()] : static_cast<char16_t>(choice - 128);
}

int ScanForLine(const TTextFileFormat& lines, std::u16string_view search) {
  if (search.empty()) return -1;
  for (int i = 0; i < lines.Count(); ++i) {
    if (lines.Get(i).find(search) != std::u16string_view::npos) return i;
  }
  return -1;
}

int ScanColumn(TTextFileFormat& lines, int column, std::u16string_view str) {
  if (column < 0 || column >= lines.FieldCount()) return -1;
  for (int i = 0; i < lines.Count(); ++i) {
    const std::u16string value = lines.GetField(i, column);
    if (!value.empty() && str.find(value) != std::u16string_view::npos) return i;
  }
  return -1;
}

void CheckFields(TTextFileFormat& lines, char16_t delim) {
  Check(lines.FieldCount() ==
        (lines.Count() == 0 ? 0 : static_cast<int>(CountFields(lines.Get(0), delim))));
  for (int i = 0; i < lines.Count() && i < kCheckedLines; ++i) {
    const std::u16string_view line = lines.Get(i);
    Check(line.find_first_of(u"\r\n") == std::u16string_view::npos);
    const std::vector<std::u16string> fields = SplitFields(line, delim);
    Check(CountFields(line, delim) == fields.size());
    for (size_t j = 0; j <= fields.size(); ++j) {
      Check(lines.GetField(i, static_cast<int>(j)) == (j < fields.size() ? fields[j] : u""));
    }
    if (!fields.empty()) Check(lines.GetField(i, 0) == fields[0]);  // back after the last
  }
}

std::u16string Joined(const TTextFileFormat& lines) {
  std::u16string text;
  for (int i = 0; i < lines.Count(); ++i) {
    text.append(lines.Get(i));
    text.push_back(u'\n');
  }
  return text;
}

// `rounds` rounds of searches: with several, the misses build the substring
// index on the way.
void CheckSearches(TTextFileFormat& lines, const std::vector<std::u16string>& searches,
                   int rounds) {
  for (int round = 0; round < rounds; ++round) {
    for (const std::u16string& search : searches) {
      Check(lines.FindLine(search) == ScanForLine(lines, search));
    }
  }
  for (int column = 0; column <= lines.FieldCount() && column < 3; ++column) {
    for (const std::u16string& str : searches) {
      Check(lines.FindLine_ColumnInStr(column, str) == ScanColumn(lines, column, str));
    }
    const std::u16string line(lines.Get(column));
    Check(lines.FindLine_ColumnInStr(column, line) == ScanColumn(lines, column, line));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > kMaxFuzzInput) return 0;
  TFuzzInput input(FuzzBytes(data, size));
  const char16_t delim = Delimiter(input.Byte());
  const uint8_t layout = input.Byte();
  std::array<std::pair<uint8_t, uint8_t>, 8> specs{};
  for (auto& [start, length] : specs) start = input.Byte(), length = input.Byte();
  const std::string_view bytes = input.Rest();

  TTextFileFormat lines;
  lines.SetDelim(delim);
  lines.SetSkipedLines(layout & 3);
  lines.LoadFromBytes(bytes);
  CheckFields(lines, delim);

  const std::u16string joined = Joined(lines);
  std::vector<std::u16string> searches;
  for (const auto& [start, length] : specs) {
    const size_t from = joined.empty() ? 0 : (start * joined.size()) / 256;
    searches.push_back(joined.substr(from, length % 16));
  }
  searches.push_back(u"\uFFFF\uFFFE");  // found nowhere, so scans count up fast

  TSubstringIndex index;
  index.Build(joined);
  for (const std::u16string& search : searches) {
    Check(index.FirstOccurrence(search) ==
          (search.empty() ? std::u16string_view::npos : joined.find(search)));
  }
  CheckSearches(lines, searches, 6);

  // Lines put in afterwards, one of them possibly holding a line break.
  if (lines.Count() > 0) {
    lines.Put(specs[0].first % lines.Count(), searches[1]);
    lines.Put(specs[1].first % lines.Count(), searches[2] + searches[3]);
    // Three searches miss too few times to build the index: these scan.
    CheckSearches(lines, {searches.begin(), searches.begin() + 3}, 1);
  }

  // Detection and renaming read the same bytes as a file.
  TScriptTestContext services;
  services.fs.AddFile(kFile, std::string(bytes));
  std::vector<TTextFileListEntry> list;
  for (int i = 0; i < 12; ++i) {
    TTextFileListEntry entry;
    entry.caption = lines.GetField(i, 0);
    entry.isFolder = (specs[i % specs.size()].second & 0x80) != 0;
    entry.checked = (specs[i % specs.size()].first & 1) != 0;
    list.push_back(std::move(entry));
  }
  TTextFileParameters parameters;
  parameters.txtTName = kFile;
  (void)DetectTextFileParameters(services.fs, list, parameters);

  parameters.txtTSkip = IntToStr(layout & 3);
  parameters.cbTDelim = (layout & 0x80) != 0;
  parameters.txtTDelim = std::u16string(1, delim);
  parameters.Match = (layout & 0x40) != 0 ? TTextMatchMode::BySearch : TTextMatchMode::ByLineNumber;
  parameters.cbxSearchWith = (layout >> 4) % 3;
  parameters.txtTFind = searches[0];
  TTextFileFormat format;
  TTextFileRenaming renaming(services.fs, format);
  if (!renaming.Prepare(parameters).ok()) __builtin_trap();
  for (int position = 1; position <= 3; ++position) {
    const RenameRecord rec = TestRecord(TextAt(searches, static_cast<size_t>(position)) + u".txt");
    (void)renaming.AssignFields(rec, position, services.vars);
  }
  return 0;
}
