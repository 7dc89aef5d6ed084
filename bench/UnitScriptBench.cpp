// A five-step script (Add Counter, wildcard Find and Replace, Remove/Replace
// Expression, Remove by Position, Swap) applied to 100,000 names.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "engine/UnitScriptActions.h"
#include "engine/UnitScriptContext.h"
#include "engine/UnitScriptStepAdd.h"
#include "engine/UnitScriptStepRemove.h"
#include "engine/UnitScriptStepReplace.h"
#include "matching/UnitMetaVariables.h"
#include "metadata/UnitTagReader.h"
#include "model/UnitCollisionDialog.h"
#include "model/UnitReplacementSequence.h"
#include "model/UnitTagData.h"
#include "platform/UnitClock.h"
#include "platform/UnitEnvironment.h"
#include "platform/UnitFileSystem.h"
#include "platform/UnitText.h"

namespace {

constexpr int kEntries = 100000;

void BuildScript(TFrmScriptActions& script) {
  script.NewScriptControl(TScriptType::stAddCounter)
      .SetChoice(TScriptStepAddCounter::cbxBeginningEnding, 0);
  TScriptStep& replace = script.NewScriptControl(TScriptType::stReplaceNameExtension);
  replace.SetText(TScriptStepReplaceNameExtension::txtReplacePhrase, u"img_*_");
  replace.SetText(TScriptStepReplaceNameExtension::txtReplaceWith, u"photo ");
  replace.SetChoice(TScriptStepReplaceNameExtension::cbxReplaceTarget, 1);
  TScriptStep& expression = script.NewScriptControl(TScriptType::stRemoveExpression);
  expression.SetFlag(TScriptStepRemoveExpression::cbreThatSTartsWIth, true);
  expression.SetChoice(TScriptStepRemoveExpression::cbxrePhraseCharacters, 0);
  expression.SetText(TScriptStepRemoveExpression::txtrePhraseCharacters, u"(");
  expression.SetFlag(TScriptStepRemoveExpression::cbreAndEndsWith, true);
  expression.SetChoice(TScriptStepRemoveExpression::cbxrePhraseCharacters3, 3);
  expression.SetText(TScriptStepRemoveExpression::txtrePhraseCharacters3, u")");
  TScriptStep& position = script.NewScriptControl(TScriptType::stRemoveSubstring);
  position.SetText(TScriptStepRemoveSubstring::txtR3X, u"3");
  position.SetText(TScriptStepRemoveSubstring::txtR3Y, u"4");
  script.NewScriptControl(TScriptType::stSwap).SetText(TScriptStepSwap::txtSPhrase, u" - ");
}

std::vector<RenameRecord> MakeRecords() {
  std::vector<RenameRecord> records(kEntries);
  for (int i = 0; i < kEntries; ++i) {
    const std::string caption =
        "IMG_2013" + std::to_string(100000 + i) + "_Beach - Holiday (copy " + std::to_string(i % 7) + ").jpg";
    FillRenameRecordNames(records[i], u"/home/ann/Pictures", AsciiToUtf16(caption), false, u"",
                          u"2013-08-14 09:05:03");
    records[i].listposition = records[i].selectedposition = i + 1;
    records[i].listtotal = records[i].selectedtotal = kEntries;
  }
  return records;
}

void BM_FiveStepScript(benchmark::State& state) {
  const std::vector<RenameRecord> records = MakeRecords();
  auto fs = NewPosixFileSystem();
  TSystemClock clock;
  TProcessEnvironment env;
  TNoTagReader tags;
  TMetaVariables vars(*fs, clock, env, tags);
  TReplacementSequence sequence;
  TFrmCollisionDialog collisions;
  TScriptContext ctx(vars, sequence, collisions);
  TFrmScriptActions script;
  BuildScript(script);
  TTagData td;
  size_t i = 0;
  for (auto _ : state) {
    const RenameRecord& rec = records[i];
    std::u16string name = rec.name;
    std::u16string ext = u"." + rec.ext;
    int collision = -1;
    script.RunScriptOn(name, ext, rec, td, collision, ctx);
    benchmark::DoNotOptimize(name);
    if (++i == records.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FiveStepScript);

}  // namespace
