// Keyboard shortcuts in their textual form ("Ctrl+T", "Shift+Ctrl+F5"), as
// the user writes them in "menu.ini".
#pragma once

#include <string>
#include <string_view>

// The shortcut in a normal form (modifiers "Ctrl+", "Alt+", "Shift+" in this
// order, then the key: an upper-case letter, a digit or sign, F1 to F24 or a
// key name such as "Del", "PgDown", "Backspace"), or the empty text when
// `text` is not a recognisable shortcut. Names and modifiers ignore case.
std::u16string NormalShortcutText(std::u16string_view text);
