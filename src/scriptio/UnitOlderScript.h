// Older scripts (".tw-"): their classic renaming options turned into the
// equivalent list of steps, and the load that reads such a file.
#pragma once

#include <string>
#include <string_view>

#include "platform/UnitStatus.h"

class TFrmScriptActions;
class TTWScript;
struct TClassicOptions;

// Shown when the user picks "default.tw-" from the older scripts.
inline constexpr std::u16string_view kDefaultOlderScriptMessage =
    u"The \"default.tw-\" script is automatically loaded when Tallowick is started.\r\n"
    u" Change this file to set the renaming options you commonly use.";

// True when the file part of `path`, in lower case, is "default.tw-".
bool IsDefaultOlderScript(const std::u16string& path);

// Clears the script and appends one step for each classic option that is on,
// in a fixed order (removing, replacing, then adding, the collision text last).
void ConvertClassicOptions(const TClassicOptions& classic, TFrmScriptActions& actions);

// Loads the ".tw-" file `path`: reads its option and classic sections into the
// model (a missing or unreadable file reads as one without keys), names it
// the current script and replaces the script by the converted classic
// options. Returns the status of reading the file.
TStatus LoadOlderScript(TFrmScriptActions& actions, TTWScript& twscript, const std::u16string& path);
