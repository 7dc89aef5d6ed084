// Opens the Qt window for the command line: the application object, the
// main window over the session, and the hand-over of later copies' command
// lines through the single-instance channel.
#pragma once

#include "cli/UnitWindowLauncher.h"

class TQtWindowLauncher : public TWindowLauncher {
 public:
  int Run(const TCliServices& services, const std::vector<std::u16string>& args,
          TInstanceChannel& channel) override;
};
