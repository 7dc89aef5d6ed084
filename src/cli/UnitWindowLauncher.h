// How the command line opens the main window without depending on a window
// toolkit: the executable hands it a launcher, and a build or a test without
// one reports that the window is missing.
#pragma once

#include <string>
#include <vector>

struct TCliServices;
class TInstanceChannel;

class TWindowLauncher {
 public:
  virtual ~TWindowLauncher() = default;
  // Shows the main window over the command line `args` (the arguments after
  // the program name) and runs it until it closes; returns the exit code.
  // `channel` is held by this first copy: the window takes up the command
  // lines later copies hand over through it.
  virtual int Run(const TCliServices& services, const std::vector<std::u16string>& args,
                  TInstanceChannel& channel) = 0;
};
