// `tallowick --add-step SCRIPT KIND [NAME=VALUE]...`: appends one step to a
// script file, making the file when it is missing.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class TCommandOutput;
class TFileSystem;

// `args` are the words after "--add-step". KIND and the NAME=VALUE words are
// read as the step catalogue says (UnitStepCatalogue); every parameter not
// named keeps a new step's value; "enabled=0" adds the step switched off.
// On success prints the new step's line as --describe shows it and returns
// 0. Wrong use (a bad word, a file that holds no script) returns 2 with one
// message naming the word and what would have been valid; a file that cannot
// be written returns 1. Nothing is written unless the result is 0.
int RunAddStepCommand(TFileSystem& fs, const std::vector<std::u16string>& args,
                      std::u16string_view version, TCommandOutput& output);
