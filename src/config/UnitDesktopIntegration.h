// The shell integration of a freedesktop desktop: desktop entries under
// $XDG_DATA_HOME/applications, and the action files of the common file
// managers (Dolphin, Nautilus, Nemo, Thunar) where their folders exist.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "config/UnitShellIntegration.h"

class TEnvironment;
class TFileSystem;

// What the window shows once the "Send To" entry is made.
inline constexpr std::u16string_view kSendToCreatedMessage =
    u"Shortcut Created.\n\nSelect a group of files in your file manager and use\n"
    u"[Right-Click -> Open With -> Tallowick] to open in Tallowick.";

class TDesktopIntegration : public TShellIntegration {
 public:
  // `program`: the full path of the executable the entries start.
  TDesktopIntegration(TFileSystem& fs, const TEnvironment& env, std::u16string program);
  TStatus SetFolderMenu(bool shown, std::u16string& report) override;
  TStatus CreateSendTo(std::u16string& report) override;
  // True when the folder's desktop entry exists under $XDG_DATA_HOME.
  bool IsFolderMenuShown() const override;

 private:
  struct TActionFile {
    std::u16string path;
    std::string content;
    bool executable = false;
  };
  // Finds the desktop's folders and the program's Exec word; on failure
  // `report` holds why.
  TStatus Prepare(std::string& exec, std::u16string& report);
  TStatus FindPlaces();
  // $XDG_DATA_HOME when it is absolute, else $HOME + `below`; empty when unknown.
  std::u16string Place(std::u16string_view variable, std::u16string_view below) const;
  std::vector<TActionFile> FolderMenuFiles(const std::string& exec) const;
  void Write(const TActionFile& file, std::u16string& report, TStatus& first);
  void Remove(const std::u16string& path, std::u16string& report, TStatus& first);
  void SetThunarAction(bool shown, std::u16string& report, TStatus& first);

  TFileSystem& fs_;
  const TEnvironment& env_;
  std::u16string program_;
  std::u16string dataHome_;    // $XDG_DATA_HOME, or ~/.local/share
  std::u16string configHome_;  // $XDG_CONFIG_HOME, or ~/.config
};
