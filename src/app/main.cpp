// The tallowick executable: builds the platform services and the window's
// launcher and hands the arguments to the command line.
#include <memory>
#include <string>
#include <vector>

#include "cli/UnitCliServices.h"
#include "cli/UnitCommandLineMain.h"
#include "cli/UnitStdOutput.h"
#include "config/UnitDesktopIntegration.h"
#include "metadata/UnitFileTags.h"
#include "platform/UnitClock.h"
#include "platform/UnitEnvironment.h"
#include "platform/UnitFileSystem.h"
#include "platform/UnitHugePageHeap.h"
#include "ui/UnitQtWindowLauncher.h"

int main(int argc, char** argv) {
  RestartWithHugePageHeap(argv);
  const std::vector<std::string> args(argv + 1, argv + argc);
  const std::unique_ptr<TFileSystem> fs = NewPosixFileSystem();
  TSystemClock clock;
  TProcessEnvironment env;
  // The readers log each file's tags while a folder "debug" exists here.
  TFileTagReader tags(*fs, CurrentDirectory() + u"/debug");
  TStdOutput output;
  TQtWindowLauncher window;
  TDesktopIntegration desktop(*fs, env, ExecutablePath());
  return RunCommandLine({*fs, clock, env, tags, output, &window, &desktop}, args);
}
