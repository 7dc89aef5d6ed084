// The start-up of the program once its services exist: the start folder, the
// command line, the start-up script and the first listing; and the same
// handling for a command line that a second copy hands over.
#pragma once

#include <string>
#include <string_view>

#include "cli/UnitCommandLine.h"

class TFrmDummyInstance;

// The main window's caption after every refresh: "Tallowick v" + version +
// " - " + the current folder.
inline std::u16string WindowCaption(std::u16string_view version, std::u16string_view folder) {
  return u"Tallowick v" + std::u16string(version) + u" - " + std::u16string(folder);
}

class TStartup {
 public:
  // `rememberedFolder`: the settings' start folder (StartFolder), used when
  // the command line names no folder.
  TStartup(const TCommandLineServices& services, std::u16string rememberedFolder);

  // Chooses the folder, handles the command line and, unless that ends the
  // program, prepares "default.twscr" and lists the folder if the command
  // line did not. Afterwards DefaultScriptName() is the script the window
  // loads on its first activation.
  TCommandLineOutcome Start(const TFrmDummyInstance& params);
  // A command line handed over by a second copy: the list is cleared, the
  // remembered script forgotten, and the text split and handled as at start.
  // The outcome's endProgram is for the caller to weigh: a running window is
  // not obliged to close.
  TCommandLineOutcome SetCommandLine(std::u16string_view text);

  // The folder used when the command line names none (settings are read
  // after construction).
  void SetRememberedFolder(std::u16string folder) { remembered_ = std::move(folder); }
  const std::u16string& DefaultScriptName() const { return defaultScriptName_; }
  TCommandLine& CommandLine() { return commandLine_; }

 private:
  TCommandLineOutcome Handle(const TFrmDummyInstance& params);

  TCommandLineServices s_;
  std::u16string remembered_;
  TCommandLine commandLine_;
  std::u16string defaultScriptName_;
};
