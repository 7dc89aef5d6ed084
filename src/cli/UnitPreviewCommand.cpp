#include "cli/UnitPreviewCommand.h"

#include <cerrno>
#include <cstdio>

#include "cli/UnitCommandOutput.h"
#include "cli/UnitCommandText.h"
#include "cli/UnitPreviewJson.h"
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

void AppendFlags(std::u16string& out, const TTagData& tag) {
  if (tag.changed) out += u'R';
  if (tag.IsCollision) out += u'C';
  if (tag.IsIllegalNewname) out += u'I';
}

// Writes the table in large blocks of whole lines: one output call per row
// cost more than the rows themselves on large folders.
void PrintTable(const TSession& session, const std::array<std::u16string, 3>& status,
                TCommandOutput& output) {
  constexpr size_t kBlock = 1 << 16;
  const TFrmDummyShowPreview& list = session.list;
  std::u16string block;
  block.reserve(kBlock + 1024);
  for (int row = 0; row < list.Count(); ++row) {
    list.FetchAhead(row);
    const TFileListData& data = *list.GetFileData(row);
    const TTagData& tag = *list.GetTagData(row);
    block += data.Checked() ? u"1\t" : u"0\t";
    AppendEscapedForTable(block, data.caption);
    block += u'\t';
    AppendEscapedForTable(block, data.GetNewName());
    block += u'\t';
    AppendFlags(block, tag);
    block += u'\n';
    if (block.size() >= kBlock) {
      output.Out(block);
      block.clear();
    }
  }
  for (const auto& panel : status) {
    if (&panel == &status[0] || !panel.empty()) block += u"# " + panel + u"\n";
  }
  output.Out(block);
}

}  // namespace

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
    output.Out(PreviewJson(session, result, status));
  } else {
    PrintTable(session, status, output);
  }
  return 0;
}

std::vector<std::u16string> DescribeOptions(const TSession& session) {
  const TMainModel& m = session.model;
  std::vector<std::u16string> lines;
  if (m.changeCase) {
    static constexpr const char16_t* kCases[] = {u"none",          u"upper case",
                                                 u"lower case",    u"capitalized words",
                                                 u"sentence case", u"title case"};
    std::u16string line = u"Case: " + std::u16string(kCases[static_cast<int>(m.caseMode)]);
    if (m.preserveExtension) line += u", extension kept";
    if (m.romanNumerals) line += u", Roman numerals capitalized";
    if (m.extraSeparators) line += u", also separating words at \"" + m.separatorChars + u"\"";
    lines.push_back(line);
  }
  lines.push_back(u"Counting: " +
                  (m.usePositionInList ? std::u16string(u"by position in the list")
                                       : u"starting at " + m.startCountingAt) +
                  u", step " + m.incrementBy);
  lines.push_back(m.useRegExp ? u"Matching: full regular expressions"
                              : u"Matching: wildcards (? one character, * any run)");
  if (!m.textFileName.empty()) {
    std::u16string line = u"Text file: " + m.textFileName;
    line += m.textMatch == TTextMatch::BySearch ? u", the line that holds " + m.textFind
                                                : std::u16string(u", line by line");
    if (m.textSkip != u"0" && !m.textSkip.empty()) line += u", skipping " + m.textSkip + u" lines";
    if (m.textSplitFields) line += u", fields split at \"" + m.textDelimiter + u"\"";
    lines.push_back(line);
  }
  if (session.twscript.GetUseFilter()) lines.push_back(u"Filter: " + m.filter);
  if (session.twscript.GetUsePath()) lines.push_back(u"Folder: " + m.folder);
  return lines;
}

int RunDescribeCommand(TSession& session, const std::u16string& script, TCommandOutput& output) {
  if (!LoadScriptOrSay(session, script, output)) return 2;
  for (const auto& line : session.script.Lines(true)) output.Out(line.Text() + u"\n");
  for (const std::u16string& line : DescribeOptions(session)) output.Out(line + u"\n");
  return 0;
}
