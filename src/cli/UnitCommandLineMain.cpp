#include "cli/UnitCommandLineMain.h"

#include <memory>

#include "cli/UnitAddStepCommand.h"
#include "cli/UnitApplication.h"
#include "cli/UnitBatchJson.h"
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
#include "cli/UnitWindowLauncher.h"
#include "cli/UnitVariablesCommand.h"
#include "platform/UnitAppFolder.h"
#include "platform/UnitEnvironment.h"
#include "platform/UnitFileLock.h"
#include "platform/UnitFileSystem.h"
#include "platform/UnitInterrupt.h"
#include "platform/UnitSingleInstance.h"
#include "platform/UnitText.h"
#include "session/UnitSession.h"

namespace {

constexpr const char16_t* kVersion = u"0.1.0";

constexpr const char16_t* kTryHelp = u"Try 'tallowick --help' for more information.\n";

// Wrong use: one line naming what was wrong, the hint, exit code 2.
int WrongUse(const TCliServices& s, const std::u16string& what) {
  s.output.Err(u"tallowick: " + what + u"\n" + kTryHelp);
  return 2;
}

int Unrecognized(const TCliServices& s, const std::string& option) {
  return WrongUse(s, u"unrecognized option '" + Utf8ToUtf16(option) + u"'");
}

bool IsMode(const std::string& arg) {
  std::string lower;
  for (const char c : arg) lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  return lower == "-s" || lower == "-xi" || lower == "-xu" || lower == "-ri" || lower == "-ru";
}

bool IsOption(const std::string& arg) { return arg.size() > 1 && arg[0] == '-'; }

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

// A run left to the operating system at exit: freeing a million listed
// entries one by one takes longer than listing them.
TCommandRun& RunFreedAtExit(const TCliServices& s) {
  static auto* runs = new std::vector<TCommandRun*>;
  return *runs->emplace_back(new TCommandRun(s));
}

int PreviewCommand(const TCliServices& s, const std::vector<std::string>& args) {
  TPreviewCommandOptions options;
  std::vector<std::string> positional;
  bool optionsEnd = false;
  for (size_t i = 1; i < args.size(); ++i) {
    if (!optionsEnd && args[i] == "--") {
      optionsEnd = true;
    } else if (!optionsEnd && args[i] == "--recursive") {
      options.recursive = true;
    } else if (!optionsEnd && args[i] == "--json") {
      options.json = true;
    } else if (!optionsEnd && IsOption(args[i])) {
      return Unrecognized(s, args[i]);
    } else {
      positional.push_back(args[i]);
    }
  }
  if (positional.size() != 2) return WrongUse(s, u"--preview: a SCRIPT and a FOLDER are needed");
  options.script = AbsolutePath(Utf8ToUtf16(positional[0]));
  options.folder = CanonicalPath(Utf8ToUtf16(positional[1]));
  TCommandRun& run = RunFreedAtExit(s);
  run.app.OpenToRead();
  return RunPreviewCommand(run.app.session, options, s.output, run.progress);
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

// Opens the run for a command that moves entries (a journal left over is
// recovered first); false, with the reason on standard error, when it cannot.
bool Opened(const TCliServices& s, TCommandRun& run) {
  const TStatus opened = run.app.Open(false);
  if (!opened.ok()) s.output.Err(u"tallowick: " + opened.Message() + u"\n");
  return opened.ok();
}

// How long a run waits for another one over the same undo store to end.
constexpr int kRunLockWaitMs = 2000;

// Batch runs, --undo and --recover move entries and change the undo store:
// one at a time per application folder, held through the lock file of its
// undo folder for the whole run. Null, with the message, when another run
// keeps it past the wait or the lock file cannot be made.
std::unique_ptr<TFileLock> LockUndoStore(const TCliServices& s) {
  const std::u16string folder = ApplicationFolder(s.env) + u"undo";
  auto lock = std::make_unique<TFileLock>(folder + u"/run.lock");
  bool taken = false;
  TStatus status = s.fs.CreateFolderPath(folder);
  if (status.ok()) status = lock->Wait(kRunLockWaitMs, taken);
  if (!status.ok()) {
    s.output.Err(u"tallowick: " + status.Message() + u"\n");
  } else if (!taken) {
    s.output.Err(u"tallowick: another run is using " + folder + u"; try again when it has ended\n");
  }
  return taken ? std::move(lock) : nullptr;
}

int UndoCommand(const TCliServices& s) {
  // An interrupt waits for the reversal to end: a half-done undo strands files.
  CatchInterrupts();
  const std::unique_ptr<TFileLock> lock = LockUndoStore(s);
  if (!lock) return 1;
  TCommandRun run(s);
  if (!Opened(s, run)) return 1;
  return RunUndoCommand(s.fs, ApplicationFolder(s.env), run.messages, &run.progress);
}

int RecoverCommand(const TCliServices& s) {
  CatchInterrupts();
  const std::unique_ptr<TFileLock> lock = LockUndoStore(s);
  if (!lock) return 1;
  TCommandRun run(s);
  return run.app.Recover();
}

// A batch mode or the usage text: runs here, never needs a display. With
// `json`, what the run did is printed as one JSON object on standard output.
int ConsoleStart(const TCliServices& s, const std::vector<std::string>& args, bool json = false) {
  // An interrupt stops the run between two entries (see TRenameCommand).
  CatchInterrupts();
  const std::unique_ptr<TFileLock> lock = LockUndoStore(s);
  if (!lock) return 1;
  TCommandRun& run = RunFreedAtExit(s);
  if (!Opened(s, run)) return 1;
  const TCommandLineOutcome outcome =
      run.app.Start(TFrmDummyInstance::FromArguments(u"tallowick", Arguments(args)));
  run.app.Close();
  if (json) s.output.Out(BatchJson(run.app.session.list.ListedFolder(), outcome));
  return outcome.exitCode;
}

// The forms that open the main window: handed to a running copy if there is
// one; otherwise this copy shows the window, when it has a display.
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
                       !s.env.Get(u"WAYLAND_DISPLAY").value_or(u"").empty() ||
                       !s.env.Get(u"QT_QPA_PLATFORM").value_or(u"").empty();
  if (display && s.window != nullptr) return s.window->Run(s, Arguments(args), channel);
  s.output.Err(std::u16string(display ? u"tallowick: this build has no main window."
                                      : u"tallowick: the main window needs a display, and none "
                                        u"is set (DISPLAY, WAYLAND_DISPLAY).") +
               u" Without it use a batch mode (-xi, -xu, -ri, -ru SCRIPT [FOLDER]) or --preview, "
               u"--describe, --expand, --undo; see tallowick --help.\n");
  return 1;
}

// The forms of a folder, files or "filedrop.dat", and the modes.
int StartForm(const TCliServices& s, const std::vector<std::string>& args) {
  const auto form = ClassifyCommandLine(TFrmDummyInstance::FromArguments(u"", Arguments(args)));
  return OpensWindow(form) ? WindowStart(s, args) : ConsoleStart(s, args);
}

// After "--" every argument is a folder or a file, also one beginning with
// "-": as an absolute path it no longer reads as an option.
int StartWithNames(const TCliServices& s, const std::vector<std::string>& names) {
  std::vector<std::string> paths;
  for (const std::string& name : names) paths.push_back(Utf16ToUtf8(AbsolutePath(Utf8ToUtf16(name))));
  return StartForm(s, paths);
}

}  // namespace

int RunCommandLine(const TCliServices& s, const std::vector<std::string>& args) {
  const std::string command = args.empty() ? std::string() : args[0];
  const size_t count = args.size();
  if (command == "--help" || command == "-h") {
    if (count != 1) return WrongUse(s, Utf8ToUtf16(command) + u": takes no argument");
    s.output.Out(HelpText());
    return 0;
  }
  if (command == "--version" || command == "-V") {
    if (count != 1) return WrongUse(s, Utf8ToUtf16(command) + u": takes no argument");
    s.output.Out(std::u16string(u"tallowick ") + kVersion + u"\n");
    return 0;
  }
  if (command == "--expand") {
    if (count != 3) return WrongUse(s, u"--expand: a TEXT and a FILE are needed");
    return ExpandCommand(s, args[1], args[2]);
  }
  if (command == "--preview") return PreviewCommand(s, args);
  if (command == "--describe") {
    if (count != 2) return WrongUse(s, u"--describe: one SCRIPT is needed");
    return DescribeCommand(s, args[1]);
  }
  if (command == "--undo") {
    if (count != 1) return WrongUse(s, u"--undo: takes no argument");
    return UndoCommand(s);
  }
  if (command == "--recover") {
    if (count != 1) return WrongUse(s, u"--recover: takes no argument");
    return RecoverCommand(s);
  }
  if (command == "--add-step" || command == "--set-option") {
    std::vector<std::u16string> words = Arguments(args);
    words.erase(words.begin());
    return command == "--add-step" ? RunAddStepCommand(s.fs, words, kVersion, s.output)
                                   : RunSetOptionCommand(s.fs, words, kVersion, s.output);
  }
  if (command == "--steps") {
    if (count != 1) return WrongUse(s, u"--steps: takes no argument");
    return RunStepsCommand(s.output);
  }
  if (command == "--variables") {
    if (count > 2) return WrongUse(s, u"--variables: at most one FILE");
    TCommandRun run(s);
    run.app.OpenToRead();
    const auto file = count == 2 ? std::optional(Utf8ToUtf16(args[1])) : std::nullopt;
    return RunVariablesCommand(run.app.session, file, s.output);
  }
  if (command == "--manual-tables" && count == 1) {  // for scripts/make-script-manual.sh
    s.output.Out(ManualTablesText());
    return 0;
  }
  if (command == "--") return StartWithNames(s, {args.begin() + 1, args.end()});
  if (IsMode(command)) {
    std::vector<std::string> modeArgs;
    bool json = false;
    for (const std::string& arg : args) {
      if (arg == "--json" && !modeArgs.empty()) {
        json = true;
      } else {
        modeArgs.push_back(arg);
      }
    }
    if (modeArgs.size() < 2) return WrongUse(s, Utf8ToUtf16(command) + u": a SCRIPT is needed");
    if (modeArgs.size() > 3) return WrongUse(s, Utf8ToUtf16(command) + u": too many arguments");
    const bool batch = LowerCase(Utf8ToUtf16(command)) != u"-s";
    if (json && !batch) return WrongUse(s, u"-s: --json is for the batch modes");
    return batch ? ConsoleStart(s, modeArgs, json) : StartForm(s, modeArgs);
  }
  if (IsOption(command)) return Unrecognized(s, command);
  return StartForm(s, args);
}
