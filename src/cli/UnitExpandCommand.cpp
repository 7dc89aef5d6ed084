#include "cli/UnitExpandCommand.h"

#include "cli/UnitCommandOutput.h"
#include "filelist/UnitEntryColumns.h"
#include "model/UnitRenameRecord.h"
#include "platform/UnitEnvironment.h"
#include "session/UnitSession.h"

int RunExpandCommand(TSession& session, const std::u16string& text, const std::u16string& file,
                     TCommandOutput& output) {
  RenameRecord record;
  const TStatus status = MakeSingleEntryRecord(session.fs, session.clock, AbsolutePath(file), record);
  if (!status.ok()) {
    output.Err(u"tallowick: " + status.Message() + u"\n");
    return 2;
  }
  const TExpansion expansion = session.vars.Expand(text, record);
  if (!expansion.status.ok()) {
    output.Err(u"tallowick: " + expansion.status.Message() + u"\n");
    return 2;
  }
  output.Out(expansion.text + u"\n");
  return 0;
}
