#include "cli/UnitUsageText.h"

#include <array>

std::u16string UsageText() {
  static constexpr std::array<const char16_t*, 12> kLines = {
      u"Command Line usage",
      u"   tallowick \"drive:\\fullpath\\\"",
      u"   tallowick -CMD script.twscr [\"optional path\"]",
      u"",
      u" Values for CMD: ",
      u" s  = load script and show the main window ",
      u" xi = execute and ignore errors ",
      u" xu = execute and undo all changes on an error",
      u" ri = execute recursively and ingore errors",
      u" ru = execute recursively and undo all change on an error ",
      u"",
      u"NOTES: The script must reside in the same folder as Tallowick.",
  };
  std::u16string text = u"\n\n";
  for (const char16_t* line : kLines) text += std::u16string(line) + u"\n";
  return text;
}

std::u16string OptionsHelpText() {
  return u"Options:\n"
         u"  --preview SCRIPT FOLDER  list FOLDER, apply SCRIPT (.twscr or .tw-) and print every\n"
         u"                           entry: checked, name, new name and flags (R renamed,\n"
         u"                           C collision, I illegal), tab-separated; renames nothing\n"
         u"    --recursive            list sub-folders too\n"
         u"    --json                 print one JSON object instead\n"
         u"  --describe SCRIPT        print the numbered sentence of every step\n"
         u"  --expand TEXT FILE       print TEXT with its meta variables expanded for FILE\n"
         u"  --undo                   reverse the last batch that a mode -xi, -xu, -ri or -ru\n"
         u"                           renamed (kept in the undo folder of the application\n"
         u"                           folder until the next run)\n"
         u"  --help, --version\n"
         u"\n"
         u"The script of a mode is looked up in the application folder: $TALLOWICK_HOME,\n"
         u"else $XDG_CONFIG_HOME/tallowick, else ~/.config/tallowick.\n"
         u"Exit codes: 0 done; 1 a rename failed, or a script, folder or display is missing;\n"
         u"2 wrong use of an option, or its script or folder cannot be read.\n";
}
