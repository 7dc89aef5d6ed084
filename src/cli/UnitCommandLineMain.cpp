#include "cli/UnitCommandLineMain.h"

#include <memory>

#include "cli/UnitAddStepCommand.h"
#include "cli/UnitApplication.h"
#include "cli/UnitCliServices.h"
#include "cli/UnitCommandLine.h"
#include "cli/UnitCommandLineSplit.h"
#include "cli/UnitCommandOutput.h"
#include "cli/UnitConsoleProgress.h"
#include "cli/UnitExpandCommand.h"
#include "cli/UnitHandOver.h"
#include "cli/UnitManualTables.h"
#include "cli/UnitPreviewCommand.h"
#include "cli/UnitSetOptionCommand.h"
#include "cli/UnitStartupMessages.h"
#include "cli/UnitStepsCommand.h"
#include "cli/UnitUndoCommand.h"
#include "cli/UnitUsageText.h"
#include "cli/UnitVariablesCommand.h"
#include "platform/UnitAppFolder.h"
#include "platform/UnitEnvironment.h"
#include "platform/UnitFileSystem.h"
#include "platform/UnitInterrupt.h"
#include "platform/UnitSingleInstance.h"
#include "platform/UnitText.h"
#include "session/UnitSession.h"

namespace {

constexpr const char16_t* kVersion = u"0.1.0";

int WrongUse(const TCliServices& s) {
  s.output.Err(UsageText() + u"\n" + OptionsHelpText());
  return 2;
}

std::vector<std::u16string> Arguments(const std::vector<std::string>& args) {
  std::vector<std::u16string> arguments;
  for (const std::string& arg : args) arguments.push_back(Utf8ToUtf16(arg));
  return arguments;
}

// What every command runs on: the session with the settings, the exclude list
// and the undo store around it, read from the application folder in one way,
// so that a preview lists and names exactly what a batch run renames.
struct TCommandRun {
  explicit TCommandRun(const TCliServices& s)
      : messages(s.output),
        progress(StandardErrorIsTerminal()),
        app({s.fs, s.clock, s.env, s.tags, ApplicationFolder(s.env), messages, progress, noDialog,
             [](const std::u16string& path) { return CanonicalPath(path); }}) {}
  TConsoleMessages messages;
  TConsoleProgress progress;
  TIgnoreRenameErrors noDialog;
  TApplication app;
};

int PreviewCommand(const TCliServices& s, const std::vector<std::string>& args) {
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
  if (positional.size() != 2) return WrongUse(s);
  options.script = AbsolutePath(Utf8ToUtf16(positional[0]));
  options.folder = CanonicalPath(Utf8ToUtf16(positional[1]));
  // The run is left to the operating system at exit: freeing a million
  // listed entries one by one takes longer than listing them.
  static TCommandRun* run = nullptr;
  run = new TCommandRun(s);
  run->app.OpenToRead();
  return RunPreviewCommand(run->app.session, options, s.output, run->progress);
}

int DescribeCommand(const TCliServices& s, const std::string& script) {
  TCommandRun run(s);
  run.app.OpenToRead();
  return RunDescribeCommand(run.app.session, AbsolutePath(Utf8ToUtf16(script)), s.output);
}

int ExpandCommand(const TCliServices& s, const std::string& text, const std::string& file) {
  TCommandRun run(s);
  run.app.OpenToRead();
  return RunExpandCommand(run.app.session, Utf8ToUtf16(text), Utf8ToUtf16(file), s.output);
}

int UndoCommand(const TCliServices& s) {
  // An interrupt waits for the reversal to end: a half-done undo strands files.
  CatchInterrupts();
  TCommandRun run(s);
  const TStatus opened = run.app.Open(false);
  if (!opened.ok()) {
    s.output.Err(u"tallowick: " + opened.Message() + u"\n");
    return 1;
  }
  return RunUndoCommand(s.fs, ApplicationFolder(s.env), run.messages);
}

// A batch mode or the usage text: runs here, never needs a display.
int ConsoleStart(const TCliServices& s, const std::vector<std::string>& args) {
  // An interrupt stops the run between two entries (see TRenameCommand).
  CatchInterrupts();
  TCommandRun run(s);
  const TStatus opened = run.app.Open(false);
  if (!opened.ok()) {
    s.output.Err(u"tallowick: " + opened.Message() + u"\n");
    return 1;
  }
  const TCommandLineOutcome outcome =
      run.app.Start(TFrmDummyInstance::FromArguments(u"tallowick", Arguments(args)));
  run.app.Close();
  return outcome.exitCode;
}

// The forms that open the main window: handed to a running copy if there is
// one; otherwise this build cannot show the window.
int WindowStart(const TCliServices& s, const std::vector<std::string>& args) {
  const std::u16string appFolder = ApplicationFolder(s.env);
  (void)s.fs.CreateFolderPath(appFolder);
  const THandOverPaths paths = HandOverPaths(s.env, s.fs, appFolder);
  TInstanceChannel channel(paths.lockFile, paths.socket);
  bool first = true;
  if (channel.Claim(first).ok() && !first) {
    const TStatus sent = TInstanceChannel::Send(
        paths.socket, HandOverMessage(u"tallowick", Arguments(args), CurrentDirectory()));
    if (sent.ok()) return 0;
    s.output.Err(u"tallowick: a running copy did not take the command line: " + sent.Message() +
                 u"\n");
    return 1;
  }
  const bool display = !s.env.Get(u"DISPLAY").value_or(u"").empty() ||
                       !s.env.Get(u"WAYLAND_DISPLAY").value_or(u"").empty();
  s.output.Err(std::u16string(display ? u"tallowick: this build has no main window yet."
                                      : u"tallowick: the main window needs a display, and none "
                                        u"is set (DISPLAY, WAYLAND_DISPLAY).") +
               u" Without it use a batch mode (-xi, -xu, -ri, -ru SCRIPT [FOLDER]) or --preview, "
               u"--describe, --expand, --undo; see tallowick --help.\n");
  return 1;
}

}  // namespace

int RunCommandLine(const TCliServices& s, const std::vector<std::string>& args) {
  const std::string command = args.empty() ? std::string() : args[0];
  if (args.size() == 1 && (command == "--help" || command == "-h")) {
    s.output.Out(UsageText() + u"\n" + OptionsHelpText());
    return 0;
  }
  if (args.size() == 1 && command == "--version") {
    s.output.Out(std::u16string(u"tallowick ") + kVersion + u"\n");
    return 0;
  }
  if (command == "--expand" && args.size() == 3) {
    return ExpandCommand(s, args[1], args[2]);
  }
  if (command == "--preview") return PreviewCommand(s, args);
  if (command == "--describe" && args.size() == 2) return DescribeCommand(s, args[1]);
  if (command == "--undo" && args.size() == 1) return UndoCommand(s);
  if (command == "--add-step" || command == "--set-option") {
    std::vector<std::u16string> words = Arguments(args);
    words.erase(words.begin());
    return command == "--add-step" ? RunAddStepCommand(s.fs, words, kVersion, s.output)
                                   : RunSetOptionCommand(s.fs, words, kVersion, s.output);
  }
  if (command == "--steps" && args.size() == 1) return RunStepsCommand(s.output);
  if (command == "--variables" && args.size() <= 2) {
    TCommandRun run(s);
    run.app.OpenToRead();
    const auto file = args.size() == 2 ? std::optional(Utf8ToUtf16(args[1])) : std::nullopt;
    return RunVariablesCommand(run.app.session, file, s.output);
  }
  if (command == "--manual-tables" && args.size() == 1) {  // for scripts/make-script-manual.sh
    s.output.Out(ManualTablesText());
    return 0;
  }
  if (command.rfind("--", 0) == 0) return WrongUse(s);
  const auto form = ClassifyCommandLine(TFrmDummyInstance::FromArguments(u"", Arguments(args)));
  return OpensWindow(form) ? WindowStart(s, args) : ConsoleStart(s, args);
}
