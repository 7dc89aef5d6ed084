// The script-wide options of every script file (folder, filter, counting,
// case, matching style, text-file parameters) and the classic options of the
// older ".tw-" format: read from a script file into the main-window model and
// written from it.
#pragma once

#include <string>
#include <string_view>

#include "platform/UnitStatus.h"

class TFileSystem;
class TMyINIFile;
struct TMainModel;

class TTWScript {
 public:
  // REQUIRES: `model` and `fs` outlive the object. `appFolder` is the
  // application folder with its trailing "/".
  TTWScript(TMainModel& model, TFileSystem& fs, std::u16string appFolder);

  // Whether `section` is one of the option sections a script file carries
  // (ignoring case).
  static bool IsOptionSection(std::u16string_view section);

  void SetFilename(std::u16string f) { Filename = std::move(f); }
  const std::u16string& GetFilename() const { return Filename; }
  void SetBatchMode(bool b) { batchmode = b; }
  void ToggleFilter(bool b) { UseFilter = b; }
  void TogglePath(bool b) { UsePath = b; }
  bool GetUseFilter() const { return UseFilter; }
  bool GetUsePath() const { return UsePath; }
  // The version text of the release that wrote the last file read.
  const std::u16string& version() const { return fversion; }
  // The running release's version text, written to `Version`/`Current` when
  // not empty.
  void SetApplicationVersion(std::u16string v) { appVersion_ = std::move(v); }
  // Whether "default.tw-" exists in the application folder.
  bool DefaultExists() const;
  TMainModel& Model() { return model_; }
  TFileSystem& FileSystem() { return fs_; }
  const std::u16string& ApplicationFolder() const { return appFolder_; }

  // Reads the option sections of `Filename` (and the classic sections with
  // `renameoptions`) into the model. A missing file reads as a file without
  // keys, so every default applies; an unreadable one does too, and its
  // status is returned.
  TStatus LoadSettings(bool renameoptions);
  void LoadSettings(const TMyINIFile& ini, bool renameoptions);
  // Writes the option sections (and the classic ones) into `Filename`,
  // keeping the sections already there, in one atomic rewrite.
  TStatus SaveSettings(bool renameoptions);
  // Writes them into `ini` without touching the disk.
  void SaveSettings(TMyINIFile& ini, bool renameoptions) const;

 private:
  void LoadFolderAndFilter(const TMyINIFile& ini);
  void LoadClassicOptions(const TMyINIFile& ini);
  void LoadCounting(const TMyINIFile& ini);
  void LoadCase(const TMyINIFile& ini);
  void LoadWildcards(const TMyINIFile& ini);
  void LoadText(const TMyINIFile& ini);
  void OpenFolder(const std::u16string& path);
  void SaveClassicOptions(TMyINIFile& ini) const;
  void SaveMainOptions(TMyINIFile& ini) const;

  TMainModel& model_;
  TFileSystem& fs_;
  std::u16string appFolder_;
  std::u16string appVersion_;
  std::u16string Filename;
  bool batchmode = false;
  bool UseFilter = false;
  bool UsePath = false;
  std::u16string fversion;
};
