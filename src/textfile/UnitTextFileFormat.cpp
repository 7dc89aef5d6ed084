#include "textfile/UnitTextFileFormat.h"

#include <algorithm>
#include <cerrno>
#include <limits>
#include <optional>
#include <unordered_map>

#include "platform/UnitFileSystem.h"
#include "textfile/UnitCsvFields.h"
#include "textfile/UnitTextFileDecoding.h"

namespace {

// Searches scan the text until they have read it this many times over; then
// the substring index is built and used from there on.
constexpr size_t kScansBeforeIndex = 4;
// Column values are looked up by their substrings while that takes fewer
// lookups than this; longer texts scan the column instead.
constexpr size_t kMaxColumnLookups = 1 << 16;

bool IsLineBreak(char16_t c) { return c == u'\r' || c == u'\n'; }

bool HasLineBreak(std::u16string_view text) {
  return std::any_of(text.begin(), text.end(), IsLineBreak);
}

}  // namespace

// The distinct non-empty values of one column with the first line holding each.
struct TTextFileFormat::TColumnIndex {
  int column = -1;
  std::u16string values;     // every line's value, back to back (the map's keys point here)
  std::vector<size_t> ends;  // where each line's value ends in `values`
  std::unordered_map<std::u16string_view, int> firstLine;
  std::vector<size_t> lengths;  // the distinct value lengths, ascending
};

// The fields of the line asked for last, split only as far as asked.
struct TTextFileFormat::TFieldCache {
  int line = -1;
  std::optional<TFieldScanner> scanner;
  bool complete = false;
  std::vector<std::u16string> fields;
};

TTextFileFormat::TTextFileFormat() = default;
TTextFileFormat::~TTextFileFormat() = default;

TStatus TTextFileFormat::LoadFromFile(TFileSystem& fs, const std::u16string& FileName) {
  if (!lastFile.empty() && FileName == lastFile) return TStatus::Ok();
  Clear();
  TFileInfo info;
  TStatus status = fs.GetFileInfo(FileName, info);
  if (!status.ok()) return status;
  if (info.isFolder) return TStatus::Error(EISDIR, FileName, u"Is a directory");
  if (info.size > kMaxFileBytes) return TStatus::Error(EFBIG, FileName, u"File too large");
  std::string bytes;
  status = fs.ReadWholeFile(FileName, bytes);
  if (!status.ok()) return status;
  LoadFromBytes(bytes);
  lastFile = FileName;
  return TStatus::Ok();
}

void TTextFileFormat::LoadFromBytes(std::string_view bytes) {
  Clear();
  SetText(DecodeTextFile(bytes));
}

void TTextFileFormat::Clear() {
  fText.clear();
  fLines.clear();
  fInOrder = true;
  fHasBreaks = false;
  fFieldCount = 0;
  lastFile.clear();
  ForgetLookups();
}

void TTextFileFormat::SetText(std::u16string_view text) {
  fText.reserve(text.size() + 1);
  long long number = 0;
  size_t i = 0;
  while (i < text.size()) {
    size_t end = i;
    while (end < text.size() && !IsLineBreak(text[end])) ++end;
    if (number++ >= fSkippedLines) {
      fLines.push_back({fText.size(), end - i});
      fText.append(text.substr(i, end - i));
      fText.push_back(u'\n');
    }
    if (end == text.size()) break;
    i = end + 1;
    if (text[end] == u'\r' && i < text.size() && text[i] == u'\n') ++i;
  }
  const size_t fields = fLines.empty() ? 0 : CountFields(Get(0), fDelim);
  fFieldCount = static_cast<int>(std::min<size_t>(fields, std::numeric_limits<int>::max()));
}

void TTextFileFormat::ForgetLookups() {
  fIndex.Clear();
  fScanned = 0;
  fColumn.reset();
  fFields.reset();
}

std::u16string_view TTextFileFormat::Get(int Index) const {
  if (Index < 0 || Index >= Count()) return {};
  const TLine& line = fLines[static_cast<size_t>(Index)];
  return std::u16string_view(fText).substr(line.start, line.length);
}

void TTextFileFormat::Put(int Index, std::u16string_view Value) {
  if (Index < 0 || Index >= Count()) return;
  const std::u16string value(Value);  // Value may point into fText
  ForgetLookups();
  fLines[static_cast<size_t>(Index)] = {fText.size(), value.size()};
  fText.append(value);
  fInOrder = false;
  fHasBreaks = fHasBreaks || HasLineBreak(value);
}

void TTextFileFormat::SetDelim(char16_t value) {
  if (value == fDelim) return;
  fDelim = value;
  lastFile.clear();
  fColumn.reset();
  fFields.reset();
}

void TTextFileFormat::SetSkipedLines(int value) {
  if (value == fSkippedLines) return;
  fSkippedLines = value;
  lastFile.clear();
}

const std::vector<std::u16string>& TTextFileFormat::FieldsUpTo(int line, int field) {
  if (!fFields) fFields = std::make_unique<TFieldCache>();
  TFieldCache& cache = *fFields;
  if (cache.line != line) {
    cache.line = line;
    cache.scanner.emplace(Get(line), fDelim);
    cache.complete = false;
    cache.fields.clear();
  }
  std::u16string value;
  while (!cache.complete && cache.fields.size() <= static_cast<size_t>(field)) {
    if (cache.scanner->Next(value)) {
      cache.fields.push_back(std::move(value));
    } else {
      cache.complete = true;
    }
  }
  return cache.fields;
}

std::u16string TTextFileFormat::GetField(int line, int field) {
  if (line < 0 || line >= Count() || field < 0) return {};
  const std::vector<std::u16string>& fields = FieldsUpTo(line, field);
  return static_cast<size_t>(field) < fields.size() ? fields[static_cast<size_t>(field)]
                                                    : std::u16string();
}

void TTextFileFormat::PutInOrder() {
  if (fInOrder) return;
  std::u16string text;
  for (TLine& line : fLines) {
    const size_t start = text.size();
    text.append(fText, line.start, line.length);
    text.push_back(u'\n');
    line.start = start;
  }
  fText = std::move(text);
  fInOrder = true;
  ForgetLookups();
}

int TTextFileFormat::LineAt(size_t position) const {
  const auto after = std::upper_bound(fLines.begin(), fLines.end(), position,
                                      [](size_t pos, const TLine& line) { return pos < line.start; });
  return static_cast<int>(after - fLines.begin()) - 1;
}

int TTextFileFormat::ScanForLine(std::u16string_view search) {
  const size_t hit = std::u16string_view(fText).find(search);
  fScanned += hit == std::u16string_view::npos ? fText.size() : hit + search.size();
  return hit == std::u16string_view::npos ? -1 : LineAt(hit);
}

int TTextFileFormat::FindLine(std::u16string_view search) {
  if (search.empty()) return -1;
  if (fHasBreaks) {  // lines may hold "\n" themselves: test them one by one
    for (int i = 0; i < Count(); ++i) {
      if (Get(i).find(search) != std::u16string_view::npos) return i;
    }
    return -1;
  }
  if (HasLineBreak(search)) return -1;
  PutInOrder();
  // Every line is followed by "\n" and the search holds none, so a hit in the
  // whole text lies inside one line, and the first hit is in the first line.
  if (!fIndex.Built() && fScanned >= kScansBeforeIndex * fText.size()) fIndex.Build(fText);
  if (!fIndex.Built()) return ScanForLine(search);
  const size_t hit = fIndex.FirstOccurrence(search);
  return hit == std::u16string_view::npos ? -1 : LineAt(hit);
}

void TTextFileFormat::IndexColumn(int columnindex) {
  fColumn = std::make_unique<TColumnIndex>();
  TColumnIndex& column = *fColumn;
  column.column = columnindex;
  for (int i = 0; i < Count(); ++i) {
    column.values.append(GetField(i, columnindex));
    column.ends.push_back(column.values.size());
  }
  for (size_t i = 0; i < column.ends.size(); ++i) {
    const std::u16string_view value = ColumnValue(i);
    if (value.empty()) continue;
    column.firstLine.emplace(value, static_cast<int>(i));
    column.lengths.push_back(value.size());
  }
  std::sort(column.lengths.begin(), column.lengths.end());
  column.lengths.erase(std::unique(column.lengths.begin(), column.lengths.end()),
                       column.lengths.end());
}

std::u16string_view TTextFileFormat::ColumnValue(size_t line) const {
  const size_t start = line == 0 ? 0 : fColumn->ends[line - 1];
  return std::u16string_view(fColumn->values).substr(start, fColumn->ends[line] - start);
}

int TTextFileFormat::FindLine_ColumnInStr(int columnindex, std::u16string_view str) {
  if (columnindex < 0 || columnindex >= fFieldCount) return -1;
  if (!fColumn || fColumn->column != columnindex) IndexColumn(columnindex);
  const TColumnIndex& column = *fColumn;
  if (column.lengths.size() * str.size() > kMaxColumnLookups) {
    for (size_t i = 0; i < column.ends.size(); ++i) {
      const std::u16string_view value = ColumnValue(i);
      if (!value.empty() && str.find(value) != std::u16string_view::npos) return static_cast<int>(i);
    }
    return -1;
  }
  // Every substring of `str` as long as some value is looked up once.
  int best = -1;
  for (const size_t length : column.lengths) {
    for (size_t start = 0; start + length <= str.size(); ++start) {
      const auto it = column.firstLine.find(str.substr(start, length));
      if (it != column.firstLine.end() && (best < 0 || it->second < best)) best = it->second;
    }
  }
  return best;
}
