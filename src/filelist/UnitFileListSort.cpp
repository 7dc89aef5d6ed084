#include "filelist/UnitFileListSort.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string>

#include "filelist/UnitNaturalOrder.h"
#include "platform/UnitDateTime.h"
#include "platform/UnitSplitWork.h"

namespace {

// The parts of a caption the Name column compares: the folder part up to and
// including the last "/", the file name up to its last ".", the extension.
struct TNameParts {
  std::u16string_view folder;
  std::u16string_view stem;
  std::u16string_view ext;
};

// Where a caption's parts end, kept per row so the sort need not search again.
struct TNameSplit {
  uint32_t folderEnd = 0;
  uint32_t stemEnd = 0;
};

TNameSplit FindNameSplit(std::u16string_view caption) {
  const size_t slash = caption.rfind(u'/');
  const size_t nameStart = slash == std::u16string_view::npos ? 0 : slash + 1;
  const size_t dot = caption.rfind(u'.');
  const size_t stemEnd = (dot == std::u16string_view::npos || dot < nameStart) ? caption.size() : dot;
  return {static_cast<uint32_t>(nameStart), static_cast<uint32_t>(stemEnd)};
}

TNameParts SplitCaption(std::u16string_view caption, TNameSplit split) {
  TNameParts parts;
  parts.folder = caption.substr(0, split.folderEnd);
  parts.stem = caption.substr(split.folderEnd, split.stemEnd - split.folderEnd);
  if (split.stemEnd < caption.size()) parts.ext = caption.substr(split.stemEnd + 1);
  return parts;
}

int CompareNameParts(const TNameParts& a, const TNameParts& b) {
  int result = NaturalCompare(a.folder, b.folder);
  if (result == 0) result = NaturalCompare(a.stem, b.stem);
  if (result == 0) result = NaturalCompare(a.ext, b.ext);
  return result;
}

int CompareOrdinal(std::u16string_view a, std::u16string_view b) {
  const int result = a.compare(b);
  return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

template <typename T>
int CompareValues(T a, T b) {
  return a < b ? -1 : (a > b ? 1 : 0);
}

// Dates sort in three ranks: empty text, a readable date, other text.
constexpr int kEmptyDate = 0;
constexpr int kReadableDate = 1;
constexpr int kOtherDateText = 2;

int DateRank(std::u16string_view text, TDateTime& value) {
  if (text.empty()) return kEmptyDate;
  std::u16string_view inner = text;
  if (inner.front() == u'[') inner = inner.size() >= 2 ? inner.substr(1, inner.size() - 2) : u"";
  return TryStrToDateTime(inner, value) ? kReadableDate : kOtherDateText;
}

// What one row sorts by, worked out once before the sort: the text of the
// sort column (the caption for Name), and the number, date or name prefix
// read from it.
struct TRowKey {
  TNaturalPrefix prefix;  // names
  uint32_t row = 0;       // position before the sort, the last tie-break
  bool isFolder = false;
  int rank = 0;           // dates
  double number = 0;      // sizes, numbers and dates
  std::u16string_view text;
  TNameSplit split;       // names
};

std::u16string_view ColumnText(const TFileListData& row, const TSortOrder& order) {
  switch (order.kind) {
    case TSortKind::Name: return row.GetName();
    case TSortKind::Size: return row.GetSize();
    case TSortKind::Type: return row.GetType();
    case TSortKind::DateModified: return row.GetDate();
    case TSortKind::DateCreated: return row.GetDateCreated();
    case TSortKind::CustomText:
    case TSortKind::CustomNumber:
    case TSortKind::CustomDate: return row.GetCustomValue(order.customIndex);
    case TSortKind::NewName: break;
  }
  return {};
}

TRowKey MakeRowKey(const TFileListData& row, const std::vector<TTagData>& tagdata,
                   const TSortOrder& order) {
  TRowKey key;
  key.isFolder = row.data >= 0 && static_cast<size_t>(row.data) < tagdata.size() &&
                 tagdata[static_cast<size_t>(row.data)].IsFolder;
  key.text = ColumnText(row, order);
  switch (order.kind) {
    case TSortKind::Name: {
      key.split = FindNameSplit(key.text);
      const TNameParts parts = SplitCaption(key.text, key.split);
      key.prefix = NaturalSortPrefix({parts.folder, parts.stem, parts.ext});
      break;
    }
    case TSortKind::Size:
    case TSortKind::CustomNumber: key.number = NumericSortValue(key.text); break;
    case TSortKind::DateModified:
    case TSortKind::DateCreated:
    case TSortKind::CustomDate: key.rank = DateRank(key.text, key.number); break;
    case TSortKind::Type:
    case TSortKind::CustomText:
    case TSortKind::NewName: break;
  }
  return key;
}

int CompareDateKeys(const TRowKey& a, const TRowKey& b) {
  if (a.rank != b.rank) return CompareValues(a.rank, b.rank);
  if (a.rank == kReadableDate) return CompareValues(a.number, b.number);
  return CompareOrdinal(a.text, b.text);
}

// The sort column's comparison, before the direction is applied.
int CompareByColumn(const TRowKey& a, const TRowKey& b, TSortKind kind) {
  switch (kind) {
    case TSortKind::Name: {
      bool decided = false;
      const int result = CompareNaturalPrefixes(a.prefix, b.prefix, decided);
      if (decided) return result;
      return CompareNameParts(SplitCaption(a.text, a.split), SplitCaption(b.text, b.split));
    }
    case TSortKind::Size:
    case TSortKind::CustomNumber: return CompareValues(a.number, b.number);
    case TSortKind::DateModified:
    case TSortKind::DateCreated:
    case TSortKind::CustomDate: return CompareDateKeys(a, b);
    case TSortKind::Type:
    case TSortKind::CustomText: return CompareOrdinal(a.text, b.text);
    case TSortKind::NewName: break;
  }
  return 0;
}

}  // namespace

int CompareCaptions(std::u16string_view a, std::u16string_view b) {
  return CompareNameParts(SplitCaption(a, FindNameSplit(a)), SplitCaption(b, FindNameSplit(b)));
}

double NumericSortValue(std::u16string_view text) {
  std::string kept;
  for (const char16_t c : text) {
    if ((c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == FormatSettings::DecimalSeparator) {
      kept.push_back(c == FormatSettings::DecimalSeparator ? '.' : static_cast<char>(c));
    }
  }
  const char* begin = kept.data();
  const char* end = begin + kept.size();
  if (begin != end && *begin == '+') ++begin;
  double value = 0;
  const auto [stop, error] = std::from_chars(begin, end, value, std::chars_format::fixed);
  if (error != std::errc() || stop != end) return 0;
  return value;
}

int CompareDateTexts(std::u16string_view a, std::u16string_view b) {
  TRowKey x;
  TRowKey y;
  x.text = a;
  y.text = b;
  x.rank = DateRank(a, x.number);
  y.rank = DateRank(b, y.number);
  return CompareDateKeys(x, y);
}

std::vector<uint32_t> SortedPositions(const std::vector<std::unique_ptr<TFileListData>>& rows,
                                      const std::vector<TTagData>& tagdata,
                                      const TSortOrder& order) {
  std::vector<TRowKey> keys;
  keys.reserve(rows.size());
  for (const auto& row : rows) {
    keys.push_back(MakeRowKey(*row, tagdata, order));
    keys.back().row = static_cast<uint32_t>(keys.size() - 1);
  }
  // The keys themselves are sorted (not indexes to them), so comparisons read
  // memory in order; the original position as last key keeps the sort stable.
  const auto less = [&](const TRowKey& a, const TRowKey& b) {
    if (a.isFolder != b.isFolder) return a.isFolder;
    const int result = CompareByColumn(a, b, order.kind);
    if (result != 0) return order.descending ? result > 0 : result < 0;
    return a.row < b.row;
  };
  // A long list is sorted in two halves at once, which are then merged: the
  // order is total, so the result is the same.
  const size_t half = keys.size() / 2;
  SplitOverTwoThreads(keys.size(), [&keys, &less](size_t begin, size_t end) {
    std::sort(keys.begin() + static_cast<std::ptrdiff_t>(begin),
              keys.begin() + static_cast<std::ptrdiff_t>(end), less);
  });
  std::vector<uint32_t> positions;
  positions.reserve(keys.size());
  auto first = keys.cbegin();
  const auto middle = keys.cbegin() + static_cast<std::ptrdiff_t>(half);
  auto second = middle;
  while (first != middle && second != keys.cend()) {
    positions.push_back((less(*second, *first) ? *second++ : *first++).row);
  }
  for (; first != middle; ++first) positions.push_back(first->row);
  for (; second != keys.cend(); ++second) positions.push_back(second->row);
  return positions;
}

void SortFileList(std::vector<std::unique_ptr<TFileListData>>& rows,
                  const std::vector<TTagData>& tagdata, const TSortOrder& order) {
  const std::vector<uint32_t> positions = SortedPositions(rows, tagdata, order);
  std::vector<std::unique_ptr<TFileListData>> sorted;
  sorted.reserve(rows.size());
  for (const uint32_t position : positions) sorted.push_back(std::move(rows[position]));
  rows = std::move(sorted);
}
