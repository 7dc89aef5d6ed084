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
#include "platform/UnitSingleInstance.h"
#include "rename/UnitApplication.h"
#include "rename/UnitCommandLine.h"
#include "rename/UnitCommandLineSplit.h"
#include "rename/UnitCommandOutput.h"
#include "rename/UnitHandOver.h"
#include "rename/UnitPreviewCommand.h"
#include "rename/UnitSession.h"
#include "rename/UnitStartupMessages.h"
#include "rename/UnitUndoCommand.h"
#include "rename/UnitUsageText.h"

namespace {

constexpr const char* kVersion = "0.1.0";

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

int WrongUse() {
  TStdOutput output;
  output.Err(UsageText() + u"\n" + OptionsHelpText());
  return 2;
}

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
  if (positional.size() != 2) return WrongUse();
  options.script = AbsolutePath(Utf8ToUtf16(positional[0]));
  options.folder = CanonicalPath(Utf8ToUtf16(positional[1]));
  // The services and the session are left to the operating system at exit:
  // freeing a million listed entries one by one takes longer than listing them.
  auto* s = new TServices;
  auto* session = new TSession(*s->fs, s->clock, s->env, s->tags, ApplicationFolder(s->env));
  TStdOutput output;
  TConsoleProgress progress(StandardErrorIsTerminal());
  return RunPreviewCommand(*session, options, output, progress);
}

int DescribeCommand(const std::string& script) {
  TServices s;
  TSession session(*s.fs, s.clock, s.env, s.tags, ApplicationFolder(s.env));
  TStdOutput output;
  return RunDescribeCommand(session, AbsolutePath(Utf8ToUtf16(script)), output);
}

int UndoCommand() {
  TServices s;
  TStdOutput output;
  TConsoleMessages messages(output);
  return RunUndoCommand(*s.fs, ApplicationFolder(s.env), messages);
}

std::vector<std::u16string> Arguments(const std::vector<std::string>& args) {
  std::vector<std::u16string> arguments;
  for (const std::string& arg : args) arguments.push_back(Utf8ToUtf16(arg));
  return arguments;
}

// A batch mode or the usage text: runs here, never needs a display.
int ConsoleStart(const std::vector<std::string>& args) {
  TServices s;
  TStdOutput output;
  TConsoleMessages messages(output);
  TConsoleProgress progress(StandardErrorIsTerminal());
  TIgnoreRenameErrors noDialog;
  TApplication app({*s.fs, s.clock, s.env, s.tags, ApplicationFolder(s.env), messages, progress,
                    noDialog, [](const std::u16string& path) { return CanonicalPath(path); }});
  const TStatus opened = app.Open(false);
  if (!opened.ok()) {
    output.Err(u"tallowick: " + opened.Message() + u"\n");
    return 1;
  }
  const TCommandLineOutcome outcome =
      app.Start(TFrmDummyInstance::FromArguments(u"tallowick", Arguments(args)));
  app.Close();
  return outcome.exitCode;
}

// The forms that open the main window: handed to a running copy if there is
// one; otherwise this build cannot show the window.
int WindowStart(const std::vector<std::string>& args) {
  TServices s;
  TStdOutput output;
  const std::u16string appFolder = ApplicationFolder(s.env);
  (void)s.fs->CreateFolderPath(appFolder);
  const THandOverPaths paths = HandOverPaths(s.env, *s.fs, appFolder);
  TInstanceChannel channel(paths.lockFile, paths.socket);
  bool first = true;
  if (channel.Claim(first).ok() && !first) {
    const TStatus sent = TInstanceChannel::Send(
        paths.socket, HandOverMessage(u"tallowick", Arguments(args), CurrentDirectory()));
    if (sent.ok()) return 0;
    output.Err(u"tallowick: a running copy did not take the command line: " + sent.Message() +
               u"\n");
    return 1;
  }
  const bool display = !s.env.Get(u"DISPLAY").value_or(u"").empty() ||
                       !s.env.Get(u"WAYLAND_DISPLAY").value_or(u"").empty();
  output.Err(std::u16string(display ? u"tallowick: this build has no main window yet."
                                    : u"tallowick: the main window needs a display, and none is "
                                      u"set (DISPLAY, WAYLAND_DISPLAY).") +
             u" Without it use a batch mode (-xi, -xu, -ri, -ru SCRIPT [FOLDER]) or --preview, "
             u"--describe, --expand, --undo; see tallowick --help.\n");
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const std::string command = args.empty() ? std::string() : args[0];
  if (args.size() == 1 && (command == "--help" || command == "-h")) {
    TStdOutput().Out(UsageText() + u"\n" + OptionsHelpText());
    return 0;
  }
  if (args.size() == 1 && command == "--version") {
    std::printf("tallowick %s\n", kVersion);
    return 0;
  }
  if (command == "--expand" && args.size() == 3) return ExpandCommand(args[1], args[2]);
  if (command == "--preview") return PreviewCommand(args);
  if (command == "--describe" && args.size() == 2) return DescribeCommand(args[1]);
  if (command == "--undo" && args.size() == 1) return UndoCommand();
  if (command.rfind("--", 0) == 0) return WrongUse();
  const auto form = ClassifyCommandLine(TFrmDummyInstance::FromArguments(u"", Arguments(args)));
  return OpensWindow(form) ? WindowStart(args) : ConsoleStart(args);
}
