#include "support/UnitScriptTestContext.h"

#include "engine/UnitScriptStep.h"

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

std::u16string RunStep(TScriptStep& step, std::u16string name, std::u16string ext, bool regExp) {
  TScriptTestContext t;
  t.ctx.UseRegExp = regExp;
  RenameRecord rec = TestRecord(name + ext);
  step.Execute(name, ext, rec, t.ctx);
  return name + u"|" + ext;
}
