// Command lines in the forms the desktop's launchers read them.
#pragma once

#include <string>
#include <string_view>

#include "platform/UnitStatus.h"

// `program` as the first word of an "Exec" value of a desktop entry, escaped
// for the entry's string type: quoted when it holds a reserved character,
// with ", `, $ and \ escaped inside the quotes, every \ doubled once more for
// the string, and % written %%. Fails for a path that is not UTF-8 or holds a
// line break, which an entry cannot carry.
TStatus DesktopExecWord(std::u16string_view program, std::string& word);
