// `tallowick --variables [FILE]`: the meta-variable catalogue by family, and
// given FILE each variable's value for it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TCommandOutput;
class TSession;

struct TVariableRow {
  std::u16string_view family;
  // The variable ("?cf?"), or for a form whose parts the user fills in, the
  // form with those parts in capitals ("?xmp_PREFIX_NAME?").
  std::u16string variable;
  std::u16string caption;
  bool form = false;
};

// The family names in the order --variables lists them.
std::vector<std::u16string_view> VariableFamilies();
// Every variable: the simple variables of the catalogue (UnitVariableCatalogue)
// with their captions, the EXIF codes of the EXIF table, the MP3, JPEG,
// video, XMP and file-contents names; grouped by family in that order.
std::vector<TVariableRow> VariableCatalogue();

// Prints "# family" before each family, then one line per variable:
// variable TAB caption, and with FILE a TAB and the value as --expand prints
// it for FILE (expanded through the session, so its settings apply; a form
// gets no value; a variable the file does not carry stays as written).
// Returns 0, or 2 with a message when FILE cannot be read.
int RunVariablesCommand(TSession& session, const std::optional<std::u16string>& file,
                        TCommandOutput& output);
