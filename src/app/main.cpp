// The tallowick executable: wires the platform services to the core and runs
// the command named on the command line.
#include <cstdio>
#include <string>
#include <vector>

#include "app/UnitConsoleProgress.h"
#include "filelist/UnitEntryColumns.h"
#include "matching/UnitMetaVariables.h"
#include "metadata/UnitFileTags.h"
#include "platform/UnitAppFolder.h"
#include "platform/UnitClock.h"
#include "platform/UnitEnvironment.h"
#include "platform/UnitFileSystem.h"
#include "platform/UnitText.h"
#include "rename/UnitCommandOutput.h"
#include "rename/UnitPreviewCommand.h"
#include "rename/UnitSession.h"

namespace {

constexpr const char* kVersion = "0.1.0";

constexpr const char* kUsage =
    "Usage: tallowick --preview SCRIPT FOLDER [--recursive] [--json]\n"
    "       tallowick --describe SCRIPT\n"
    "       tallowick --expand TEXT FILE\n"
    "       tallowick --help | --version\n"
    "\n"
    "  --preview SCRIPT FOLDER  list FOLDER, apply SCRIPT (.twscr or .tw-) and print every\n"
    "                           entry: checked, name, new name and flags (R renamed,\n"
    "                           C collision, I illegal), tab-separated; renames nothing\n"
    "    --recursive            list sub-folders too\n"
    "    --json                 print one JSON object instead\n"
    "  --describe SCRIPT        print the numbered sentence of every step\n"
    "  --expand TEXT FILE       print TEXT with its meta variables expanded for FILE\n";

// Standard output and error as UTF-8.
class TStdOutput : public TCommandOutput {
 public:
  void Out(std::u16string_view text) override { Write(stdout, text); }
  void Err(std::u16string_view text) override { Write(stderr, text); }

 private:
  static void Write(FILE* stream, std::u16string_view text) {
    const std::string bytes = Utf16ToUtf8(text);
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
  }
};

// The services of one run of the program.
struct TServices {
  std::unique_ptr<TFileSystem> fs = NewPosixFileSystem();
  TSystemClock clock;
  TProcessEnvironment env;
  // The readers log each file's tags while a folder "debug" exists here.
  TFileTagReader tags{*fs, CurrentDirectory() + u"/debug"};
};

int ExpandCommand(const std::string& text, const std::string& file) {
  TServices s;
  TStdOutput output;
  RenameRecord record;
  TStatus status = MakeSingleEntryRecord(*s.fs, s.clock, AbsolutePath(Utf8ToUtf16(file)), record);
  if (!status.ok()) {
    output.Err(u"tallowick: " + status.Message() + u"\n");
    return 2;
  }
  TMetaVariables vars(*s.fs, s.clock, s.env, s.tags);
  TExpansion expansion = vars.Expand(Utf8ToUtf16(text), record);
  if (!expansion.status.ok()) {
    output.Err(u"tallowick: " + expansion.status.Message() + u"\n");
    return 2;
  }
  output.Out(expansion.text + u"\n");
  return 0;
}

int PreviewCommand(const std::vector<std::string>& args) {
  TPreviewCommandOptions options;
  std::vector<std::string> positional;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--recursive") {
      options.recursive = true;
    } else if (args[i] == "--json") {
      options.json = true;
    } else {
      positional.push_back(args[i]);
    }
  }
  if (positional.size() != 2) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  options.script = AbsolutePath(Utf8ToUtf16(positional[0]));
  options.folder = CanonicalPath(Utf8ToUtf16(positional[1]));
  TServices s;
  TSession session(*s.fs, s.clock, s.env, s.tags, ApplicationFolder(s.env));
  TStdOutput output;
  TConsoleProgress progress(StandardErrorIsTerminal());
  return RunPreviewCommand(session, options, output, progress);
}

int DescribeCommand(const std::string& script) {
  TServices s;
  TSession session(*s.fs, s.clock, s.env, s.tags, ApplicationFolder(s.env));
  TStdOutput output;
  return RunDescribeCommand(session, AbsolutePath(Utf8ToUtf16(script)), output);
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const std::string command = args.empty() ? std::string() : args[0];
  if (args.size() == 1 && (command == "--help" || command == "-h")) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (args.size() == 1 && command == "--version") {
    std::printf("tallowick %s\n", kVersion);
    return 0;
  }
  if (command == "--expand" && args.size() == 3) return ExpandCommand(args[1], args[2]);
  if (command == "--preview") return PreviewCommand(args);
  if (command == "--describe" && args.size() == 2) return DescribeCommand(args[1]);
  std::fputs(kUsage, stderr);
  return 2;
}
