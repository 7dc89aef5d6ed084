// The start-up script "default.twscr" in the application folder: created with
// one disabled step of every kind when it is missing, and made again when a
// release older than "3.7" wrote it and none of its steps is switched on.
#pragma once

#include <string>
#include <string_view>

#include "platform/UnitStatus.h"

class TFileSystem;

// Compares dot-separated versions part by part as integers, first part
// first; a missing or unreadable part counts as 0. Negative, 0 or positive.
int CompareVersions(std::u16string_view a, std::u16string_view b);

// The application folder (ending with "/") + "default.twscr".
std::u16string DefaultScriptPath(const std::u16string& appFolder);

struct TDefaultScriptResult {
  bool created = false;  // the file was (re)written
  TStatus status;        // reading or writing it
};

// Makes sure the start-up script exists. A file that carries no version is
// kept: only releases that name their version are judged by it, so a script
// the user made here is never replaced.
TDefaultScriptResult PrepareDefaultScript(TFileSystem& fs, const std::u16string& appFolder);
