// Shared pieces of the script-file tests: an in-memory file system with a
// model, the options object and a script, fixture files from tests/data, and
// a text form of a script for comparisons.
#pragma once

#include <string>
#include <vector>

#include "engine/UnitScriptActions.h"
#include "model/UnitMainModel.h"
#include "scriptio/UnitTWScript.h"
#include "support/UnitFakeFileSystem.h"

struct TScriptIoFixture {
  TFakeFileSystem fs;
  TMainModel model;
  TTWScript twscript{model, fs, u"/app/"};
  TFrmScriptActions actions;
};

// The bytes of tests/data/scripts/<name>.
std::string ScriptFixtureBytes(const std::string& name);

// UTF-16LE bytes of `text` with the byte-order mark.
std::string Utf16LEWithMark(std::u16string_view text);

// One line per step: TYPE, enabled flag and every stored parameter as
// name=value, so two scripts compare as lists of texts.
std::vector<std::string> DescribeScript(const TFrmScriptActions& actions);

// The value of parameter `name` of step `index` as text ("" when absent).
std::u16string ParamText(const TFrmScriptActions& actions, int index, std::u16string_view name);
int ParamChoice(const TFrmScriptActions& actions, int index, std::u16string_view name);
bool ParamFlag(const TFrmScriptActions& actions, int index, std::u16string_view name);
