#include "cli/UnitApplication.h"

#include <cerrno>

#include "cli/UnitStartupMessages.h"
#include "config/UnitStartupState.h"
#include "rename/UnitRenameJournal.h"
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
  status = RecoverLeftOverRun();
  if (!status.ok()) return status;
  ReadSettings(true);
  return emptyUndoStore ? store.Create() : TStatus::Ok();
}

void TApplication::OpenToRead() {
  if (TRenameJournal(s_.fs, store.Folder() + u"/").Exists()) {
    s_.messages.ConsoleError(u"tallowick: a run was cut short and its entries may be under "
                             u"temporary names; run tallowick --recover");
  }
  ReadSettings(false);
}

TStatus TApplication::RecoverLeftOverRun() {
  TRenameJournal journal(s_.fs, store.Folder() + u"/");
  TRecoveryReport report;
  bool found = false;
  const TStatus status = journal.RecoverLeftOver(report, found);
  if (!found) return TStatus::Ok();
  if (!status.ok()) return status;
  s_.messages.ConsoleError(u"tallowick: a run was cut short; putting its entries back:");
  for (const std::u16string& line : report.moved) s_.messages.ConsoleError(u"  moved " + line);
  for (const std::u16string& line : report.problems) s_.messages.ConsoleError(u"  " + line);
  if (report.complete) {
    s_.messages.ConsoleError(u"tallowick: every entry of that run is back under its old name.");
    return TStatus::Ok();
  }
  return TStatus::Error(EAGAIN, journal.Path(),
                        u"the entries above could not all be put back; the journal stays until "
                        u"they are, then run tallowick --recover");
}

int TApplication::Recover() {
  const TStatus created = s_.fs.CreateFolderPath(s_.appFolder);
  const bool found = TRenameJournal(s_.fs, store.Folder() + u"/").Exists();
  const TStatus status = created.ok() ? RecoverLeftOverRun() : created;
  if (!status.ok()) {
    s_.messages.ConsoleError(u"tallowick: " + status.Message());
    return 1;
  }
  if (!found) s_.messages.ConsoleLine(u"nothing to recover");
  return 0;
}

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
