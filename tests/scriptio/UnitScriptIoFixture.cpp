#include "UnitScriptIoFixture.h"

#include "platform/UnitFileSystem.h"
#include "platform/UnitText.h"

std::string ScriptFixtureBytes(const std::string& name) {
  std::string bytes;
  const auto fs = NewPosixFileSystem();
  if (!fs->ReadWholeFile(Utf8ToUtf16(std::string(TALLOWICK_TEST_DATA) + "/scripts/" + name), bytes)
           .ok()) {
    bytes.clear();
  }
  return bytes;
}

std::string Utf16LEWithMark(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (const char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

std::vector<std::string> DescribeScript(const TFrmScriptActions& actions) {
  std::vector<std::string> lines;
  for (int i = 0; i < actions.Count(); ++i) {
    const TScriptStep& step = actions.Step(i);
    std::string line = "TYPE=" + std::to_string(static_cast<int>(step.ScriptType())) +
                       (step.Enabled ? " on" : " off");
    const auto params = step.Parameters();
    for (const int p : step.ParametersInFileOrder()) {
      const TParamDef& def = params[static_cast<size_t>(p)];
      line += " " + Utf16ToUtf8(def.name) + "=";
      switch (def.kind) {
        case TParamKind::Text: line += "[" + Utf16ToUtf8(step.Text(p)) + "]"; break;
        case TParamKind::Choice: line += std::to_string(step.Choice(p)); break;
        case TParamKind::Flag: line += step.Flag(p) ? "1" : "0"; break;
      }
    }
    lines.push_back(line);
  }
  return lines;
}

namespace {
int Find(const TFrmScriptActions& actions, int index, std::u16string_view name) {
  if (index < 0 || index >= actions.Count()) return -1;
  return actions.Step(index).FindParameter(name);
}
}  // namespace

std::u16string ParamText(const TFrmScriptActions& actions, int index, std::u16string_view name) {
  const int p = Find(actions, index, name);
  return p < 0 ? u"" : actions.Step(index).Text(p);
}

int ParamChoice(const TFrmScriptActions& actions, int index, std::u16string_view name) {
  const int p = Find(actions, index, name);
  return p < 0 ? -999 : actions.Step(index).Choice(p);
}

bool ParamFlag(const TFrmScriptActions& actions, int index, std::u16string_view name) {
  const int p = Find(actions, index, name);
  return p >= 0 && actions.Step(index).Flag(p);
}
