// The renaming mode: which kinds of entries the list shows and renames
// ("Files Only", "Folders Only", "Files and Folders").
#pragma once

#include <cstdint>

enum class TFileFolderMode : uint8_t { FilesOnly, FoldersOnly, FilesAndFolders };
