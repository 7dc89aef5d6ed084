// The column sizing modes of the file list applied to the column model:
// visibility of the optional columns, "Auto Width" and "Fit Screen".
#pragma once

#include "config/UnitColumnManager.h"
#include "config/UnitColumnVisibility.h"

class TfrmConfig;

// Sizing modes as stored in `Startup`/`ColumnResizeType`.
enum TColumnSizingMode { SIZE_AUTO_WIDTH = 0, SIZE_FIT_SCREEN = 1, SIZE_USER_WIDTH = 3 };

// Size, Type, Date Modified and Date Created get their automatic width when
// shown and 0 when hidden; other columns keep their width.
void ApplyColumnVisibility(TColumnManager& columns, const TColumnVisibility& visibility);
// Every column gets its automatic width, then visibility is applied.
void ApplyAutoWidth(TColumnManager& columns, const TColumnVisibility& visibility);
// Auto Width, then the shown columns are scaled together to `clientWidth`.
void ApplyFitScreen(TColumnManager& columns, const TColumnVisibility& visibility, int clientWidth);
// What the layout timer does after a visibility toggle or a resize: mode 0
// applies Auto Width, mode 1 Fit Screen, mode 3 only visibility.
void ApplySizingMode(int mode, TColumnManager& columns, const TColumnVisibility& visibility,
                     int clientWidth);
// The user picks a sizing mode. Nothing happens (false) when it is already
// the mode; otherwise the mode is stored, applied (User Width keeps the
// widths) and "Column sizes / Positions" follows whether it is User Width.
bool ChooseColumnSizingMode(TfrmConfig& config, TColumnManager& columns,
                            const TColumnVisibility& visibility, TColumnSizingMode mode,
                            int clientWidth);
