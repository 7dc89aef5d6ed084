// The application folder: where settings, menu files, the default script and
// the undo store live.
#pragma once

#include <string>

class TEnvironment;

// $TALLOWICK_HOME when set, else $XDG_CONFIG_HOME/tallowick, else
// $HOME/.config/tallowick; always with a trailing "/". The caller creates it.
std::u16string ApplicationFolder(const TEnvironment& env);
