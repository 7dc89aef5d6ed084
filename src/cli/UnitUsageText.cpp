#include "cli/UnitUsageText.h"

#include <array>

std::u16string UsageText() {
  static constexpr std::array<const char16_t*, 12> kLines = {
      u"Command line usage",
      u"   tallowick FOLDER",
      u"   tallowick -CMD SCRIPT [FOLDER]",
      u"",
      u" Values for CMD:",
      u" s  = load script and show the main window",
      u" xi = execute and ignore errors",
      u" xu = execute and undo all changes on an error",
      u" ri = execute recursively and ignore errors",
      u" ru = execute recursively and undo all changes on an error",
      u"",
      u"NOTES: a SCRIPT named without a folder is looked up in the application folder.",
  };
  std::u16string text = u"\n\n";
  for (const char16_t* line : kLines) text += std::u16string(line) + u"\n";
  return text;
}

std::u16string HelpText() {
  return u"Usage: tallowick [FOLDER | FILE... | filedrop.dat]\n"
         u"       tallowick -s|-xi|-xu|-ri|-ru SCRIPT [FOLDER]\n"
         u"       tallowick --preview SCRIPT FOLDER [--recursive] [--json]\n"
         u"       tallowick --describe SCRIPT\n"
         u"       tallowick --expand TEXT FILE\n"
         u"       tallowick --undo | --recover\n"
         u"       tallowick --add-step SCRIPT KIND [NAME=VALUE]...\n"
         u"       tallowick --set-option SCRIPT SECTION.NAME=VALUE...\n"
         u"       tallowick --steps | --variables [FILE]\n"
         u"       tallowick --help | --version\n"
         u"Rename the entries of a folder by a script of steps, safely and undoably.\n"
         u"\n"
         u"Forms that open the main window (they need a display):\n"
         u"  FOLDER                 the folder listed\n"
         u"  FILE...                the folder of the first file, only the files named checked\n"
         u"  filedrop.dat           the files listed in filedrop.dat of the application folder\n"
         u"  -s SCRIPT [FOLDER]     SCRIPT loaded and FOLDER listed\n"
         u"\n"
         u"Batch modes (no window, no question; report on standard error):\n"
         u"  -xi SCRIPT [FOLDER]    rename; skip the entries that fail\n"
         u"  -xu SCRIPT [FOLDER]    rename; on the first failure undo everything\n"
         u"  -ri, -ru               the same, including every sub-folder\n"
         u"  Without FOLDER the folder the script carries is renamed. A SCRIPT holding \"/\"\n"
         u"  is a path; a bare name is looked up in the application folder.\n"
         u"\n"
         u"Options:\n"
         u"  --preview SCRIPT FOLDER  list FOLDER, apply SCRIPT (.twscr or .tw-) and print every\n"
         u"                           entry: checked, name, new name and flags (R renamed,\n"
         u"                           C collision, I illegal), tab-separated; renames nothing\n"
         u"    --recursive            list sub-folders too\n"
         u"    --json                 print one JSON object instead\n"
         u"  --describe SCRIPT        print the numbered sentence of every step\n"
         u"  --expand TEXT FILE       print TEXT with its meta variables expanded for FILE\n"
         u"  --undo                   reverse the last batch that a mode -xi, -xu, -ri or -ru\n"
         u"                           renamed\n"
         u"  --recover                put back the entries of a run that was cut short (a crash,\n"
         u"                           a kill); every start does it too\n"
         u"  --add-step SCRIPT KIND [NAME=VALUE]...\n"
         u"                           append one step of KIND (a caption such as \"Find and\n"
         u"                           Replace\", its unique beginning, or a TYPE number) to\n"
         u"                           SCRIPT, making the file when missing; NAME is a\n"
         u"                           parameter or its alias (see --steps); enabled=0 adds\n"
         u"                           the step switched off\n"
         u"  --set-option SCRIPT SECTION.NAME=VALUE...\n"
         u"                           set option keys of SCRIPT, e.g. Case.cbOverrideCase=1\n"
         u"                           Filter.txtFilter=*.jpg; makes the file when missing\n"
         u"  --steps                  list every step kind with its parameters\n"
         u"  --variables [FILE]       list the meta variables by family; with FILE also\n"
         u"                           each one's value for FILE\n"
         u"  -h, --help               print this help\n"
         u"  -V, --version            print the version\n"
         u"  --                       end of options: what follows are folders and files\n"
         u"\n"
         u"Settings, scripts and the undo store live in the application folder:\n"
         u"$TALLOWICK_HOME, else $XDG_CONFIG_HOME/tallowick, else ~/.config/tallowick.\n"
         u"\n"
         u"Exit status: 0 done; 1 a rename failed, a script, folder or display is missing, or\n"
         u"a script file cannot be written;\n"
         u"2 wrong use, or a script or folder that cannot be read; 128 + N interrupted by\n"
         u"signal N (every entry back under its old name, or with -xi the renamed ones kept\n"
         u"for --undo).\n";
}
