// One move of a rename run as the undo store, the undo list and the batch
// files see it, and the suffix of the temporary names of the two-phase scheme.
#pragma once

#include <string>
#include <string_view>

// The suffix every entry carries between the two phases of a rename run.
inline constexpr std::u16string_view kTempNameSuffix = u".TW_TEMPNAME";

struct TRenamePair {
  std::u16string oldName;  // full path before the move
  std::u16string newName;  // full path after the move
};
