// The main window's state as a plain object of the core: folder, filter,
// counting, case, matching style, text-file parameters and the classic
// renaming options of older scripts. Script files, the preview, the command
// line and tests read and write it; the window only shows and edits it.
#pragma once

#include <cstdint>
#include <string>

#include "model/UnitFileFolderMode.h"

// The five "Change Case" modes; None when a script file switched all off.
enum class TCaseMode : uint8_t {
  None,
  Uppercase,
  Lowercase,
  CapitalizeWords,
  CapitalizeSentence,
  TitleCase,
};

// How an entry finds its line of the text file.
enum class TTextMatch : uint8_t { ByLineNumber, BySearch };

// The classic renaming options of ".tw-" files, named after their controls.
// They exist only to be read from an older script and converted into steps.
struct TClassicOptions {
  // AddTo
  bool cbAEndOfName = false;             // "Add to the end of the name"
  bool cbAEndOfExtension = false;        // "Add to the end of the extension"
  bool cbANInsert = false;               // "At position" in the name
  bool cbAEInsert = false;               // "At position" in the extension
  std::u16string txtAEndOfName;          // text added at the end of the name
  std::u16string txtAEndOfExtension;     // text added at the end of the extension
  std::u16string txtANInsert;            // text inserted into the name
  std::u16string txtAEInsert;            // text inserted into the extension
  int udANPosition = 1;                  // position in the name (1 to 255)
  int udAEPosition = 1;                  // position in the extension (1 to 255)
  // AddTo2
  bool cbA2Find = false;                 // "Find" a phrase and insert relative to it
  std::u16string txtA2Find;              // the phrase to find
  std::u16string txtA2Insert;            // the text to insert
  int cbA2Insert = 0;                    // insert after, insert before, move it before, move it after
  bool cbCollision = false;              // "On collision append to the name"
  std::u16string txtCollision = u"(?n02?)";  // the text appended on a collision
  // Replace
  bool cbRPNameWith = false;             // "Replace the name with"
  bool cbRPExtensionWith = false;        // "Replace the extension with"
  bool cbRPThis = false;                 // "Replace this" ... with ...
  std::u16string txtRPNameWith;          // the new name
  std::u16string txtRPExtensionWith;     // the new extension
  std::u16string txtRPThis;              // the phrase to replace
  std::u16string txtRPWith;              // its replacement
  // Replace2
  bool cbRP2Characters = false;          // "In characters" X to Y replace ... with ...
  int upRP2X = 1;                        // X
  int upRP2Y = 1;                        // Y
  std::u16string txtRP2This = u"*";      // the phrase
  std::u16string txtRP2With;             // its replacement
  bool cbRP2CharacterList = false;       // "Replace Single Characters"
  std::u16string txtRP2sc;               // the characters
  std::u16string txtRP2scWith;           // their replacements
  bool cbRPNumbers = false;              // "Replace Numbers on the"
  int cbxRPNumbers = 0;                  // 0 "right", 1 "left"
  bool cbEverything = false;             // "Remove all but characters" X to Y
  // Remove
  bool cbRMFromNameStart = false;        // remove udNS characters from the start of the name
  bool cbRMFromNameEnd = false;          // remove udNE characters from the end of the name
  bool cbRMFromExtensionStart = false;   // remove udES characters from the start of the extension
  bool cbRMFromExtensionEnd = false;     // remove udEE characters from the end of the extension
  int udNS = 0;
  int udNE = 0;
  int udES = 0;
  int udEE = 0;
  bool cbRMFromName = false;             // "Remove from the name"
  bool cbRMFromExtension = false;        // "Remove from the extension"
  bool cbRMWordList = false;             // "treat as space separated word list"
  std::u16string txtRMFromName;          // text removed from the name
  std::u16string txtRMFromExtension;     // text removed from the extension
  // Remove2
  bool cbRM2NumFromName = false;         // "Remove all numbers from name"
  bool cbRM2NumFromExt = false;          // "Remove all numbers from extension"
  int udRM2X = 1;                        // X of "Remove all but characters"
  int udRM2Y = 10;                       // Y of "Remove all but characters"
  bool cbRM2Characters = false;          // "Remove from the name characters" X to Y
  int udR2CharX = 1;                     // X
  int udR2CharY = 10;                    // Y
  bool cbRM2AndMove = false;             // "... and move them to position"
  int udR2AndMove = 1;                   // that position
};


struct TMainModel {
  // Folder and filter.
  std::u16string folder;                     // the listed folder
  std::u16string filter = u"*.*";            // the filter bar's text
  std::u16string scriptName;                 // the current script's file name, as shown

  // Counting ("Counting" section of script files).
  bool usePositionInList = true;             // "use position in list"; off: "start counting at"
  std::u16string startCountingAt = u"1";     // txtStartCountingAt: first counter value
  std::u16string incrementBy = u"1";         // txtIncrementBy: counter step

  // Case conversion ("Case").
  bool changeCase = false;                   // cbOverrideCase: "Change Case"
  TCaseMode caseMode = TCaseMode::Uppercase; // the selected case radio button
  bool preserveExtension = false;            // cbCPreserverExtension: "Preserve Extension"
  bool romanNumerals = false;                // cbCRoman: "Detect and capitalize Roman Numerals"
  bool extraSeparators = false;              // cbSplit: "Additional word separator characters"
  std::u16string separatorChars;             // txtSplit: those characters

  // Matching style ("Wildcards").
  bool useRegExp = false;                    // rbRegExp: "Use full Regular Expressions"

  // Text-file parameters ("Text").
  std::u16string textFileName;               // txtTName: full path of the text file
  std::u16string textSkip = u"0";            // txtTSkip: initial lines to skip
  bool textSplitFields = true;               // cbTDelim: split lines into fields
  std::u16string textDelimiter = u",";       // txtTDelim: one character or "TAB"
  TTextMatch textMatch = TTextMatch::ByLineNumber;  // rbTMatch / rbTFind
  int textSearchWith = 0;                    // cbxSearchWith: "Filename.ext", "Filename", "Custom Data"
  std::u16string textFind = u"?cfn?";        // txtTFind: custom search text

  // The classic options of the last older script read.
  TClassicOptions classic;

  // Window state kept in "tw.ini" by the settings (TfrmConfig).
  TFileFolderMode fileFolderMode = TFileFolderMode::FilesOnly;  // the renaming mode
  bool largeThumbnails = false;      // thumbnaillist1: "Toggle Large Thumbnails"
  bool toolbarShown = false;         // ToggleToolbar1: "Toggle Toolbar"
  bool fileListOnLeft = false;       // MIFilelistonLeftSize1: "Filelist on Left Size"
  bool wideLayout = true;            // MIToggleWideLayout1: "Toggle Wide Layout"
  bool miniRenamingButtons = true;   // MiniRenamingButtons1: "Toggle Mini Renaming Buttons"
};
