// The file list's columns as a model: the six standard columns and the
// user's custom columns, their registry positions, the sort column with one
// direction flag per registry position, and the captions that show the sort.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "config/UnitColumnTypes.h"
#include "platform/UnitStatus.h"

class TColumnManager {
 public:
  static constexpr size_t kMaxRegistry = 1000;
  static constexpr size_t npos = static_cast<size_t>(-1);

  // The six standard columns in their order; the Name column is the sort
  // column, every direction flag off.
  TColumnManager();

  // Columns in list order.
  size_t Count() const { return columns_.size(); }
  const TListColumn& Column(size_t index) const { return columns_[index]; }
  // The caption as shown: the sort column's title after "[+] " (flag off) or
  // "[-] " (flag on), any other title as it is.
  std::u16string Caption(size_t index) const;
  TColumnType KindOf(size_t index) const { return columns_[index].kind; }
  size_t RegistryPosition(size_t index) const { return columns_[index].registry; }
  // List index of the first column of `kind`, or npos.
  size_t IndexOfKind(TColumnType kind) const;
  // List index of the first column whose caption contains `text`, or npos.
  size_t IndexOfCaption(std::u16string_view text) const;
  size_t IndexOfId(int id) const;

  void SetWidth(size_t index, int width) { columns_[index].width = width; }
  // Moves a column to list position `to` (the last position when beyond it).
  void MoveColumn(size_t from, size_t to);
  // The widest text seen in a column (kept per registry position).
  void SetAutoWidth(size_t registry, int width);
  int AutoWidth(size_t registry) const;

  // Sorting: the list index of the sort column and its direction flag.
  size_t SortColumn() const { return IndexOfId(sortId_); }
  bool SortDescending() const;
  bool DirectionFlag(size_t registry) const;
  // A click on the header of column `index`. Returns false for the New Name
  // column (nothing changes); otherwise the column becomes the sort column,
  // its flag toggles, and the caller sorts the list, restarts the
  // auto-preview countdown and clears the selection.
  bool HeaderClick(size_t index);

  // Custom columns, in the order of their definitions. Adding with a title
  // that exists replaces it: its column goes and the new one is appended at
  // the end. Fails only when all registry positions are taken.
  TStatus AddOrReplaceCustomColumn(std::u16string_view title, std::u16string_view data,
                                   int sortKind);
  // Removes the definition and its column; false when there is none.
  bool DeleteCustomColumn(std::u16string_view title);
  size_t CustomCount() const { return customs_.size(); }
  const TCustomColumn& Custom(size_t i) const { return customs_[i]; }
  // Position in the custom list, or npos.
  size_t IndexOfCustom(std::u16string_view title) const;
  // The definition a custom list column shows (through its tag), or nullptr.
  const TCustomColumn* CustomOfColumn(size_t index) const;

 private:
  struct TRegistryEntry {
    bool used = false;
    TColumnType kind = COL_TYPE_NAME;
    bool descending = false;
    int autoWidth = 0;
  };

  size_t Register(TColumnType kind);
  void AddColumn(std::u16string_view title, TColumnType kind, TColumnAlignment alignment);
  void RemoveColumn(size_t index);
  void RenumberCustomTags();

  std::vector<TListColumn> columns_;
  std::vector<TRegistryEntry> registry_;
  std::vector<TCustomColumn> customs_;
  int nextId_ = 1;
  int sortId_ = 0;
};
