// `tallowick --set-option SCRIPT SECTION.NAME=VALUE...`: sets keys of the
// option sections of a script file (folder, filter, counting, case,
// matching style, text file), making the file when it is missing.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class TCommandOutput;
class TFileSystem;

// `args` are the words after "--set-option". SECTION and NAME are those of
// ScriptOptionKeys (without regard to case); a switch takes 1/0, yes/no,
// on/off, true/false, an integer a whole number, a text any one-line text.
// Switching a radio button on switches the others of its group off; switching
// one of a pair off switches the other on. A non-empty Path.cbPath or
// Filter.txtFilter also switches on the ScriptOptions switch that restores it,
// unless that switch is set too. Prints every key written as
// SECTION.NAME=VALUE and returns 0; wrong use returns 2 with one message
// naming the bad word and listing the valid ones; a file that cannot be
// written returns 1. Nothing is written unless the result is 0.
int RunSetOptionCommand(TFileSystem& fs, const std::vector<std::u16string>& args,
                        std::u16string_view version, TCommandOutput& output);
