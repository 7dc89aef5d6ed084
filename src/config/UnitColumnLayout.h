// The widths and order of the list columns as remembered in the "Column_"
// sections of "tw.ini" (plain keys `Width` and `Index`).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "config/UnitColumnManager.h"

// "Column_" + the caption with blanks as "_" and without a sort prefix.
std::u16string ColumnSectionName(std::u16string_view caption);

struct TColumnPlacement {
  std::u16string section;  // as ColumnSectionName gives it
  int width = -1;          // -1: not remembered
  int index = -1;          // -1: not remembered
};

// The remembered placements, looked up by section name ignoring case.
class TColumnLayout {
 public:
  void Clear() { placements_.clear(); }
  void Set(const TColumnPlacement& placement);
  // The placement of `section`, or one with width and index -1.
  TColumnPlacement Get(std::u16string_view section) const;
  const std::vector<TColumnPlacement>& Placements() const { return placements_; }

 private:
  std::vector<TColumnPlacement> placements_;
};

// Every column in list order: its width, and its list position as index.
void StoreColumnLayout(const TColumnManager& columns, TColumnLayout& layout);
// Remembered widths are applied; then the columns with a remembered index
// move there, lowest index first, so a saved order comes back exactly; an
// index beyond the last column moves the column to the end.
void RestoreColumnLayout(TColumnManager& columns, const TColumnLayout& layout);
