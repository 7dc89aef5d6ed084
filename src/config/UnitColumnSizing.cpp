#include "config/UnitColumnSizing.h"

#include <algorithm>

#include "config/UnitConfig.h"

namespace {

// The visibility item of an optional column kind, or nullptr.
const bool* VisibilityOf(TColumnType kind, const TColumnVisibility& v) {
  switch (kind) {
    case COL_TYPE_SIZE:
      return &v.size;
    case COL_TYPE_TYPE:
      return &v.type;
    case COL_TYPE_DATE:
      return &v.dateModified;
    case COL_TYPE_DATECREATED:
      return &v.dateCreated;
    default:
      return nullptr;
  }
}

}  // namespace

void ApplyColumnVisibility(TColumnManager& columns, const TColumnVisibility& visibility) {
  for (size_t i = 0; i < columns.Count(); ++i) {
    const bool* shown = VisibilityOf(columns.KindOf(i), visibility);
    if (shown == nullptr) continue;
    columns.SetWidth(i, *shown ? columns.AutoWidth(columns.RegistryPosition(i)) : 0);
  }
}

void ApplyAutoWidth(TColumnManager& columns, const TColumnVisibility& visibility) {
  for (size_t i = 0; i < columns.Count(); ++i) {
    columns.SetWidth(i, columns.AutoWidth(columns.RegistryPosition(i)));
  }
  ApplyColumnVisibility(columns, visibility);
}

void ApplyFitScreen(TColumnManager& columns, const TColumnVisibility& visibility, int clientWidth) {
  ApplyAutoWidth(columns, visibility);
  long long total = 0;
  for (size_t i = 0; i < columns.Count(); ++i) {
    if (columns.Column(i).width > 0) total += columns.Column(i).width;
  }
  if (total <= 0) return;  // nothing shown has a width to scale
  const double factor = static_cast<double>(std::max(clientWidth, 0)) / static_cast<double>(total);
  for (size_t i = 0; i < columns.Count(); ++i) {
    const int width = columns.Column(i).width;
    if (width > 0) columns.SetWidth(i, static_cast<int>(width * factor));
  }
}

void ApplySizingMode(int mode, TColumnManager& columns, const TColumnVisibility& visibility,
                     int clientWidth) {
  if (mode == SIZE_AUTO_WIDTH) {
    ApplyAutoWidth(columns, visibility);
  } else if (mode == SIZE_FIT_SCREEN) {
    ApplyFitScreen(columns, visibility, clientWidth);
  } else {
    ApplyColumnVisibility(columns, visibility);
  }
}

bool ChooseColumnSizingMode(TfrmConfig& config, TColumnManager& columns,
                            const TColumnVisibility& visibility, TColumnSizingMode mode,
                            int clientWidth) {
  if (config.GetColumnButtonPressed() == mode) return false;
  config.SetColumnButtonPressed(static_cast<uint8_t>(mode));
  config.SetFlag(TSetting::RememberColumnSizes, mode == SIZE_USER_WIDTH);
  if (mode != SIZE_USER_WIDTH) ApplySizingMode(mode, columns, visibility, clientWidth);
  return true;
}
