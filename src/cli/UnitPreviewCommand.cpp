#include "cli/UnitPreviewCommand.h"

#include <cerrno>
#include <cstdio>

#include "cli/UnitCommandOutput.h"
#include "platform/UnitFileSystem.h"
#include "platform/UnitProgress.h"
#include "platform/UnitText.h"
#include "session/UnitSession.h"

namespace {

bool LoadScriptOrSay(TSession& session, const std::u16string& script, TCommandOutput& output) {
  std::vector<std::u16string> messages;
  TStatus status = session.LoadScript(script, &messages);
  for (const auto& message : messages) output.Err(u"tallowick: " + message + u"\n");
  if (!status.ok()) {
    output.Err(u"tallowick: " + status.Message() + u"\n");
    return false;
  }
  return true;
}

std::u16string Flags(const TTagData& tag) {
  std::u16string flags;
  if (tag.changed) flags += u'R';
  if (tag.IsCollision) flags += u'C';
  if (tag.IsIllegalNewname) flags += u'I';
  return flags;
}

void PrintTable(const TSession& session, const std::array<std::u16string, 3>& status,
                TCommandOutput& output) {
  const TFrmDummyShowPreview& list = session.list;
  for (int row = 0; row < list.Count(); ++row) {
    const TFileListData& data = *list.GetFileData(row);
    const TTagData& tag = *list.GetTagData(row);
    output.Out(std::u16string(data.Checked() ? u"1" : u"0") + u"\t" + EscapeForTable(data.caption) +
               u"\t" + EscapeForTable(data.GetNewName()) + u"\t" + Flags(tag) + u"\n");
  }
  for (const auto& panel : status) {
    if (&panel == &status[0] || !panel.empty()) output.Out(u"# " + panel + u"\n");
  }
}

void PrintJson(const TSession& session, const std::array<std::u16string, 3>& status,
               TCommandOutput& output) {
  const TFrmDummyShowPreview& list = session.list;
  const auto flag = [](bool b) { return b ? u"true" : u"false"; };
  std::u16string json = u"{\"entries\": [";
  for (int row = 0; row < list.Count(); ++row) {
    const TFileListData& data = *list.GetFileData(row);
    const TTagData& tag = *list.GetTagData(row);
    if (row > 0) json += u",";
    json += u"\n  {\"name\": " + JsonString(data.caption) + u", \"newName\": " +
            JsonString(data.GetNewName()) + u", \"checked\": " + flag(data.Checked()) +
            u", \"changed\": " + flag(tag.changed) + u", \"collision\": " +
            flag(tag.IsCollision) + u", \"illegal\": " + flag(tag.IsIllegalNewname) + u"}";
  }
  json += u"\n], \"status\": [" + JsonString(status[0]) + u", " + JsonString(status[1]) + u", " +
          JsonString(status[2]) + u"]}\n";
  output.Out(json);
}

}  // namespace

std::u16string EscapeForTable(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (const char16_t c : text) {
    switch (c) {
      case u'\\': out += u"\\\\"; break;
      case u'\t': out += u"\\t"; break;
      case u'\r': out += u"\\r"; break;
      case u'\n': out += u"\\n"; break;
      default: out += c;
    }
  }
  return out;
}

std::u16string JsonString(std::u16string_view text) {
  std::u16string out = u"\"";
  for (const char16_t c : text) {
    if (c == u'"' || c == u'\\') {
      out += u'\\';
      out += c;
    } else if (c < 0x20 || (c >= 0xD800 && c <= 0xDFFF)) {
      // Control characters, and every surrogate (pairs too), as escapes: a
      // lone one (an undecodable byte of a name) has no UTF-8 form.
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\u%04x", static_cast<unsigned>(c));
      out += AsciiToUtf16(buffer);
    } else {
      out += c;
    }
  }
  return out + u"\"";
}

int RunPreviewCommand(TSession& session, const TPreviewCommandOptions& options,
                      TCommandOutput& output, TProgress& progress) {
  if (!LoadScriptOrSay(session, options.script, output)) return 2;
  if (!session.fs.DirectoryExists(options.folder)) {
    output.Err(u"tallowick: cannot read the folder " + options.folder +
               u": No such folder\n");
    return 2;
  }
  session.model.folder = options.folder;
  session.Refresh(progress, options.recursive);
  const TPreviewResult result = session.Preview(progress);
  if (!result.readError.ok()) output.Err(u"tallowick: " + result.readError.Message() + u"\n");
  const auto status = session.Status(result);
  if (options.json) {
    PrintJson(session, status, output);
  } else {
    PrintTable(session, status, output);
  }
  return 0;
}

int RunDescribeCommand(TSession& session, const std::u16string& script, TCommandOutput& output) {
  if (!LoadScriptOrSay(session, script, output)) return 2;
  for (const auto& line : session.script.Lines(true)) output.Out(line.Text() + u"\n");
  return 0;
}
