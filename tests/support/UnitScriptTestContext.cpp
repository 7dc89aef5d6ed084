#include "support/UnitScriptTestContext.h"

TScriptTestContext::TScriptTestContext()
    : vars(fs, clock, env, tags), ctx(vars, sequence, collisions) {}

RenameRecord TestRecord(std::u16string_view fileName) {
  RenameRecord rec;
  FillRenameRecordNames(rec, u"/test/", fileName, false, u"", u"");
  rec.listposition = rec.listtotal = 1;
  rec.selectedposition = rec.selectedtotal = 1;
  rec.foldertotal = 1;
  return rec;
}
