#include "cli/UnitApplication.h"

#include "cli/UnitStartupMessages.h"
#include "config/UnitStartupState.h"
#include "platform/UnitFileSystem.h"

TApplication::TApplication(const TApplicationServices& services)
    : session(services.fs, services.clock, services.env, services.tags, services.appFolder),
      config(services.fs, services.appFolder, session.vars, session.model),
      undo(services.fs, services.appFolder),
      store(services.fs, services.appFolder),
      s_(services),
      startup_(TCommandLineServices{session, undo, store, services.errors, services.messages,
                                    services.progress, services.spell},
               std::u16string()) {}

TStatus TApplication::Open(bool emptyUndoStore) {
  TStatus status = s_.fs.CreateFolderPath(s_.appFolder);
  if (!status.ok()) return status;
  ReadSettings(true);
  return emptyUndoStore ? store.Create() : TStatus::Ok();
}

void TApplication::OpenToRead() { ReadSettings(false); }

void TApplication::ReadSettings(bool writeWhenMissing) {
  const TStatus status = config.LoadConfig(writeWhenMissing);
  if (!status.ok()) s_.messages.ConsoleError(u"tallowick: " + status.Message());
  const std::u16string excludeFile = s_.appFolder + std::u16string(TFrmExclude::kFileName);
  const TStatus excluded = session.exclude.Load(s_.fs, excludeFile);
  if (!excluded.ok()) s_.messages.ConsoleError(u"tallowick: " + excluded.Message());
  ApplySettings();
}

void TApplication::ApplySettings() {
  session.noHiddenFiles = config.Flag(TSetting::NoHiddenFiles);
  session.dontSelectFolders = !config.SelectFolders();
  session.showTimeInDates = config.UseFullDateTime();
}

TCommandLineOutcome TApplication::Start(const TFrmDummyInstance& params) {
  startup_.SetRememberedFolder(StartFolder(config, s_.fs, s_.appFolder));
  return startup_.Start(params);
}

void TApplication::Close() { (void)store.Destroy(); }
