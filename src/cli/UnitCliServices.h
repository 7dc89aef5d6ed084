// The services every command-line command runs on, built once by `main`.
#pragma once

class TClock;
class TCommandOutput;
class TEnvironment;
class TFileSystem;
class TShellIntegration;
class TTagReader;
class TWindowLauncher;

// All must outlive the commands that use them.
struct TCliServices {
  TFileSystem& fs;
  const TClock& clock;
  const TEnvironment& env;
  TTagReader& tags;
  TCommandOutput& output;
  TWindowLauncher* window = nullptr;  // none: the forms that open the window are refused
  TShellIntegration* shell = nullptr;  // the desktop's menus; none: the window offers none
};
