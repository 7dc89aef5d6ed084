#include "config/UnitColumnLayout.h"

#include <algorithm>

#include "platform/UnitText.h"

std::u16string ColumnSectionName(std::u16string_view caption) {
  std::u16string name = ReplaceAll(caption, u" ", u"_");
  name = ReplaceAll(name, u"[+]_", u"");
  name = ReplaceAll(name, u"[-]_", u"");
  return u"Column_" + name;
}

void TColumnLayout::Set(const TColumnPlacement& placement) {
  for (TColumnPlacement& p : placements_) {
    if (SameTextIgnoringCase(p.section, placement.section)) {
      p = placement;
      return;
    }
  }
  placements_.push_back(placement);
}

TColumnPlacement TColumnLayout::Get(std::u16string_view section) const {
  for (const TColumnPlacement& p : placements_) {
    if (SameTextIgnoringCase(p.section, section)) return p;
  }
  return {std::u16string(section), -1, -1};
}

void StoreColumnLayout(const TColumnManager& columns, TColumnLayout& layout) {
  for (size_t n = 0; n < columns.Count(); ++n) {
    layout.Set(
        {ColumnSectionName(columns.Caption(n)), columns.Column(n).width, static_cast<int>(n)});
  }
}

void RestoreColumnLayout(TColumnManager& columns, const TColumnLayout& layout) {
  struct TMove {
    int id;
    int index;
  };
  std::vector<TMove> moves;
  for (size_t i = 0; i < columns.Count(); ++i) {
    const TColumnPlacement p = layout.Get(ColumnSectionName(columns.Caption(i)));
    if (p.width >= 0) columns.SetWidth(i, p.width);
    if (p.index >= 0) moves.push_back({columns.Column(i).id, p.index});
  }
  std::stable_sort(moves.begin(), moves.end(),
                   [](const TMove& a, const TMove& b) { return a.index < b.index; });
  for (const TMove& m : moves) {
    columns.MoveColumn(columns.IndexOfId(m.id), static_cast<size_t>(m.index));
  }
}
