// The folders shown last, newest first, for the folder box's drop-down; kept
// in the settings ("RecentFolders", separated by "|").
#pragma once

#include <string>
#include <vector>

#include "config/UnitConfig.h"

inline constexpr size_t kMaxRecentFolders = 15;

std::vector<std::u16string> RecentFolders(const TfrmConfig& config);
// Puts `folder` first, without duplicates, keeping at most kMaxRecentFolders.
// A folder whose name holds "|" is not kept: it could not be read back.
void RememberRecentFolder(TfrmConfig& config, const std::u16string& folder);
