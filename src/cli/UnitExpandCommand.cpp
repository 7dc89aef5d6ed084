#include "cli/UnitExpandCommand.h"

#include "cli/UnitCliServices.h"
#include "cli/UnitCommandOutput.h"
#include "filelist/UnitEntryColumns.h"
#include "matching/UnitMetaVariables.h"
#include "model/UnitRenameRecord.h"
#include "platform/UnitEnvironment.h"

int RunExpandCommand(const TCliServices& services, const std::u16string& text,
                     const std::u16string& file) {
  RenameRecord record;
  const TStatus status =
      MakeSingleEntryRecord(services.fs, services.clock, AbsolutePath(file), record);
  if (!status.ok()) {
    services.output.Err(u"tallowick: " + status.Message() + u"\n");
    return 2;
  }
  TMetaVariables vars(services.fs, services.clock, services.env, services.tags);
  const TExpansion expansion = vars.Expand(text, record);
  if (!expansion.status.ok()) {
    services.output.Err(u"tallowick: " + expansion.status.Message() + u"\n");
    return 2;
  }
  services.output.Out(expansion.text + u"\n");
  return 0;
}
