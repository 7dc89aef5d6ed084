#include "cli/UnitStartup.h"

#include "cli/UnitCommandLineSplit.h"
#include "cli/UnitDefaultScript.h"
#include "cli/UnitStartupMessages.h"
#include "platform/UnitProgress.h"
#include "session/UnitSession.h"

TStartup::TStartup(const TCommandLineServices& services, std::u16string rememberedFolder)
    : s_(services), remembered_(std::move(rememberedFolder)), commandLine_(services) {}

TCommandLineOutcome TStartup::Handle(const TFrmDummyInstance& params) {
  TSession& session = s_.session;
  const TStartupFolder start =
      ChooseStartupFolder(params, session.fs, session.appFolder, remembered_, s_.spell);
  session.model.folder = start.folder;
  TCommandLineOutcome outcome = commandLine_.Handle(params, start);
  if (outcome.endProgram) return outcome;
  defaultScriptName_ = outcome.DefaultScriptName.empty() ? DefaultScriptPath(session.appFolder)
                                                         : outcome.DefaultScriptName;
  if (!outcome.listed) {
    session.Refresh(s_.progress, false);
    outcome.listed = true;
  }
  return outcome;
}

TCommandLineOutcome TStartup::Start(const TFrmDummyInstance& params) {
  TCommandLineOutcome outcome = Handle(params);
  if (outcome.endProgram) return outcome;
  const TDefaultScriptResult prepared = PrepareDefaultScript(s_.session.fs, s_.session.appFolder);
  if (!prepared.status.ok()) s_.messages.MessageBox(prepared.status.Message());
  return outcome;
}

TCommandLineOutcome TStartup::SetCommandLine(std::u16string_view text) {
  s_.session.list.Clear();
  defaultScriptName_.clear();
  return Handle(TFrmDummyInstance(text));
}
