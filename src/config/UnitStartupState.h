// How the main window's start-up uses the remembered state of the settings:
// start folder, folder-browser pane and window placement.
#pragma once

#include <string>

#include "config/UnitConfig.h"

class TFileSystem;

// The folder shown when the command line names none: with "Last Used Path"
// on, the last folder, else its parent when that still exists; otherwise (and
// when neither exists) the application folder.
std::u16string StartFolder(const TfrmConfig& config, TFileSystem& fs,
                           const std::u16string& appFolder);

// The remembered pane width when it is above 10 and "Browser Pane state" is
// on, otherwise 200.
int BrowsePaneStartWidth(const TfrmConfig& config);
bool BrowsePaneStartVisible(const TfrmConfig& config);

struct TWindowPlacement {
  enum TKind { Maximized, AtPosition, DefaultPlace, Centred } kind = DefaultPlace;
  TPoint position;  // for AtPosition
  bool applySize = false;
  TPoint size;  // when applySize
};

// Placement on a screen of `screen` pixels: maximized when "Open Maximized";
// else on a first run or with "Window position" off centred; else at the
// remembered position when 0 <= left < width and 0 <= top < height, otherwise
// wherever the window toolkit puts it. The remembered size applies when
// "Window size" is on.
TWindowPlacement StartPlacement(const TfrmConfig& config, TPoint screen);
