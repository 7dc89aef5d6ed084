#include "cli/UnitScriptOptionKeys.h"

namespace {

using F = TOptionForm;

constexpr TScriptOptionKey kKeys[] = {
    {u"Path", u"cbPath", F::Text, u"", false, 0, u"UsePath", true,
     u"The folder the script opens (a missing key reads as the application folder); stored "
     u"empty when UsePath is off, and a folder that does not exist leaves the shown folder as "
     u"it is."},
    {u"Filter", u"txtFilter", F::Text, u"*.*", true, 0, u"UseFilter", true,
     u"The file filter of the list (for example *.jpg); an empty filter changes nothing."},
    {u"ScriptOptions", u"UseFilter", F::Switch, u"", false, 0, u"", true,
     u"Whether loading restores the filter; a file without this key restores any filter it "
     u"holds."},
    {u"ScriptOptions", u"UsePath", F::Switch, u"", false, 0, u"", true,
     u"Whether loading opens the folder; a file without UseFilter opens it only when this is "
     u"1."},
    {u"Version", u"Current", F::Text, u"", true, 0, u"", false,
     u"The version of the release that wrote the file."},
    {u"Counting", u"rbUsePositionInList", F::Switch, u"1", true, 1, u"", true,
     u"The counter is the entry's position among the checked entries."},
    {u"Counting", u"rbStartCountingAt", F::Switch, u"0", true, 1, u"", true,
     u"The counter starts at txtStartCountingAt and grows by txtIncrementBy."},
    {u"Counting", u"txtStartCountingAt", F::Text, u"", true, 0, u"", true,
     u"The first counter value."},
    {u"Counting", u"txtIncrementBy", F::Text, u"", true, 0, u"", true,
     u"The counter step (1 when it is not a number)."},
    {u"Case", u"cbOverrideCase", F::Switch, u"0", true, 0, u"", true,
     u"Change Case: converts every new name as the radio buttons below say."},
    {u"Case", u"rbCUppercase", F::Switch, u"1", true, 2, u"", true, u"UPPERCASE."},
    {u"Case", u"rbCLowercase", F::Switch, u"0", true, 2, u"", true, u"lowercase."},
    {u"Case", u"rbCCapitalizeWords", F::Switch, u"0", true, 2, u"", true, u"Capitalize Words."},
    {u"Case", u"rbCCapitalizeSentence", F::Switch, u"0", true, 2, u"", true, u"Capitalize sentence."},
    {u"Case", u"cbCPreserverExtension", F::Switch, u"0", true, 0, u"", true,
     u"Preserve Extension: the conversion leaves the extension alone."},
    {u"Case", u"rbCTitleCase", F::Switch, u"0", true, 2, u"", true, u"Capitalize with Title Case."},
    {u"Case", u"cbCRoman", F::Switch, u"0", true, 0, u"", true,
     u"Detect and capitalize Roman numerals."},
    {u"Case", u"cbSplit", F::Switch, u"0", true, 0, u"", true,
     u"Treat the characters of txtSplit as word separators too."},
    {u"Case", u"txtSplit", F::Text, u"", true, 0, u"", true, u"Those separator characters."},
    {u"Wildcards", u"rbWildcards", F::Switch, u"1", true, 3, u"", true,
     u"Patterns are simple wildcards: ? one character, * any run."},
    {u"Wildcards", u"rbRegExp", F::Switch, u"0", true, 3, u"", true,
     u"Patterns are full regular expressions."},
    {u"Text", u"txtTName", F::Text, u"", true, 0, u"", true,
     u"The text file that new names or fields are taken from; empty for none."},
    {u"Text", u"udTSkip", F::Integer, u"0", true, 0, u"", true,
     u"How many lines at the start of the text file are skipped."},
    {u"Text", u"cbTDelim", F::Switch, u"1", true, 0, u"", true,
     u"Splits each line into fields at txtTDelim (the fields are ?text1? to ?text99?)."},
    {u"Text", u"rbTMatch", F::Switch, u"1", true, 4, u"", true,
     u"An entry takes the line of its position in the list."},
    {u"Text", u"rbTFind", F::Switch, u"0", true, 4, u"", true,
     u"An entry takes the first line that contains its file name (or the custom search text)."},
    {u"Text", u"txtTFind", F::Text, u"?cfn?", true, 0, u"", true,
     u"The custom search text (may hold meta variables), used when the settings search with "
     u"custom data."},
    {u"Text", u"txtTDelim", F::Text, u",", true, 0, u"", true,
     u"The field delimiter: one character, or TAB."},
};

}  // namespace

std::span<const TScriptOptionKey> ScriptOptionKeys() { return kKeys; }

std::u16string_view OptionFormName(TOptionForm form) {
  switch (form) {
    case TOptionForm::Switch: return u"switch";
    case TOptionForm::Integer: return u"integer";
    case TOptionForm::Text: return u"text";
  }
  return u"";
}
