// The parts of the manual page tallowick-script(5) that come from the code's
// declarations: the step kinds with their parameters, the option keys and the
// meta variables. `tallowick --manual-tables` prints them and
// scripts/make-script-manual.sh splices them into docs/tallowick-script.5; a
// test fails when the committed page and these differ.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct TManualTable {
  std::u16string_view name;  // "steps", "options", "variables"
  std::u16string roff;       // lines, each ending in "\n", markers excluded
};

std::vector<TManualTable> ManualTables();
// The comment lines that enclose a table in the page.
std::u16string ManualBeginMarker(std::u16string_view name);
std::u16string ManualEndMarker(std::u16string_view name);
// Every table enclosed in its markers, as --manual-tables prints them.
std::u16string ManualTablesText();
// `text` safe inside a roff line: backslashes and minus signs escaped, and a
// line that would begin with "." or "'" protected.
std::u16string RoffText(std::u16string_view text);
