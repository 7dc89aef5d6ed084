#include "engine/UnitScriptActions.h"

#include <algorithm>
#include <cstdio>

#include "engine/UnitScriptContext.h"
#include "engine/UnitScriptStepAdd.h"
#include "engine/UnitScriptStepCondition.h"
#include "engine/UnitScriptStepFactory.h"
#include "matching/UnitMetaVariables.h"
#include "matching/UnitWildcards.h"
#include "model/UnitCollisionDialog.h"
#include "model/UnitTagData.h"
#include "platform/UnitText.h"

namespace {

// The collision pass tries candidates up to this position.
constexpr int kMaxCollisionCandidate = 50000;

enum class TFamily { Add, Replace, Remove, Other };

TFamily FamilyOf(TScriptType type) {
  switch (type) {
    case TScriptType::stAddBeginningEnding:
    case TScriptType::stAddPosition:
    case TScriptType::stAddBeforeAfter:
    case TScriptType::stAddCounter: return TFamily::Add;
    case TScriptType::stReplaceNameExtension:
    case TScriptType::stReplaceCharacters:
    case TScriptType::stReplaceNumbers:
    case TScriptType::stSwap:
    case TScriptType::stFindAndEdit: return TFamily::Replace;
    case TScriptType::stConditionalExecute:
    case TScriptType::stSplitAndMove: return TFamily::Other;
    default: return TFamily::Remove;
  }
}

std::u16string NumberPrefix(int position) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "[%02d] ", position);
  return AsciiToUtf16(buffer);
}

}  // namespace

std::u16string TStepLine::Text() const { return prefix + SentenceText(words); }

void TFrmScriptActions::Notify() const {
  if (listener_) listener_();
}

TScriptStep& TFrmScriptActions::NewScriptControl(TScriptType type, bool Disabled) {
  auto holder = std::make_unique<TScriptStepControl>(NewScriptStep(type), nextTag_++);
  TScriptStep* step = holder->ScriptStep.get();
  if (Disabled) step->Enabled = false;
  step->SetChangeHook([this] { Notify(); });
  ScriptControlOrder.push_back(holder.get());
  ScriptControlList.push_back(std::move(holder));
  switch (FamilyOf(type)) {
    case TFamily::Add: StepAddList.push_back(step); break;
    case TFamily::Replace: StepReplaceList.push_back(step); break;
    case TFamily::Remove: StepRemoveList.push_back(step); break;
    case TFamily::Other: StepOtherList.push_back(step); break;
  }
  Notify();
  return *step;
}

void TFrmScriptActions::Clear() {
  ScriptControlOrder.clear();
  StepAddList.clear();
  StepReplaceList.clear();
  StepRemoveList.clear();
  StepOtherList.clear();
  ScriptControlList.clear();
  Notify();
}

void TFrmScriptActions::ClearDisabled() {
  for (auto* holder : ScriptControlOrder) {
    if (!holder->ScriptStep->Enabled) holder->fDeleted = true;
  }
  Renumber();
  Notify();
}

void TFrmScriptActions::Renumber() {
  std::erase_if(ScriptControlOrder, [](const TScriptStepControl* h) { return h->fDeleted; });
}

bool TFrmScriptActions::AnyEnabled() const {
  return std::any_of(ScriptControlOrder.begin(), ScriptControlOrder.end(),
                     [](const TScriptStepControl* h) { return h->ScriptStep->Enabled; });
}

bool TFrmScriptActions::MayReadEntryAttributes() const {
  for (const TScriptStepControl* holder : ScriptControlOrder) {
    const TScriptStep& step = *holder->ScriptStep;
    const std::span<const TParamDef> params = step.Parameters();
    for (size_t i = 0; i < params.size(); ++i) {
      if (params[i].kind != TParamKind::Text) continue;
      if (step.Text(static_cast<int>(i)).find_first_of(u"?%") != std::u16string::npos) return true;
    }
  }
  return false;
}

void TFrmScriptActions::DisableAll() {
  for (auto* holder : ScriptControlOrder) holder->ScriptStep->Enabled = false;
  Notify();
}

void TFrmScriptActions::ResetAll() {
  for (auto* holder : ScriptControlOrder) {
    holder->ScriptStep->Reset();
    holder->ScriptStep->Enabled = false;
  }
  Notify();
}

void TFrmScriptActions::ToggleEnable(int index) {
  if (index < 0 || index >= Count()) return;
  Step(index).Enabled = !Step(index).Enabled;
  Notify();
}

void TFrmScriptActions::Delete(int index, bool shift) {
  if (index < 0 || index >= Count()) return;
  if (shift) {
    ResetStep(index);
    return;
  }
  ScriptControlOrder[static_cast<size_t>(index)]->fDeleted = true;
  Renumber();
  Notify();
}

void TFrmScriptActions::ResetStep(int index) {
  if (index < 0 || index >= Count()) return;
  Step(index).Reset();
  Notify();
}

void TFrmScriptActions::MoveUp(int index, bool shift) {
  if (index <= 0 || index >= Count()) return;
  MoveTo(index, shift ? 0 : index - 1);
}

void TFrmScriptActions::MoveDown(int index, bool shift) {
  if (index < 0 || index >= Count() - 1) return;
  MoveTo(index, shift ? Count() - 1 : index + 1);
}

void TFrmScriptActions::MoveTo(int index, int newIndex) {
  if (index < 0 || index >= Count() || newIndex < 0 || newIndex >= Count() || index == newIndex) {
    return;
  }
  auto* holder = ScriptControlOrder[static_cast<size_t>(index)];
  ScriptControlOrder.erase(ScriptControlOrder.begin() + index);
  ScriptControlOrder.insert(ScriptControlOrder.begin() + newIndex, holder);
  Notify();
}

std::vector<TStepLine> TFrmScriptActions::Lines(bool alwaysFull,
                                                const std::function<bool(int)>& folded) const {
  std::vector<TStepLine> lines;
  int markers = 0;
  for (int i = 0; i < Count(); ++i) {
    const TScriptStep& step = Step(i);
    TStepLine line;
    line.prefix = NumberPrefix(i + 1);
    if (step.ScriptType() == TScriptType::stConditionalExecute && step.Enabled) {
      markers = step.IntegerParam(TScriptStepConditionExecute::txtCE1, 0) + 1;
    } else if (markers > 0) {
      line.prefix += u" >> ";
    }
    line.full = alwaysFull || (step.Enabled && (!folded || folded(i)));
    if (line.full) {
      line.words = step.GetSentence();
    } else {
      line.words = {{TSentenceWord::TKind::Label, step.GetShortSentence(), -1}};
    }
    if (markers > 0) --markers;
    lines.push_back(std::move(line));
  }
  return lines;
}

void TFrmScriptActions::RunScriptOn(std::u16string& sname, std::u16string& ext, RenameRecord rec,
                                    TTagData& curTD, int& collisionindex,
                                    TScriptContext& ctx) const {
  collisionindex = -1;
  ctx.BeginEntry();
  ctx.Vars().SetTempText(u"");
  std::u16string prevName = sname;
  std::u16string prevExt = ext;
  long long skip = 0;
  bool onCollision = false;
  for (const TScriptStepControl* holder : ScriptControlOrder) {
    TScriptStep& step = *holder->ScriptStep;
    if (holder->fDeleted || !step.Enabled) continue;
    const TScriptType type = step.ScriptType();
    if (skip > 0) {
      --skip;
      prevName = sname, prevExt = ext;
    } else {
      if (type != TScriptType::stConditionalExecute) prevName = sname, prevExt = ext;
      switch (type) {
        case TScriptType::stAddBeginningEnding:
          onCollision = onCollision || step.Flag(TScriptStepAddBeginningEnding::cbOnCollision);
          step.Execute(sname, ext, rec, ctx);
          break;
        case TScriptType::stConditionalExecute: {
          skip = step.IntegerParam(TScriptStepConditionExecute::txtCE1, 1);
          const bool holds = ConditionHolds(step, sname, ext, prevName + prevExt, rec, ctx);
          const bool execute = step.Choice(TScriptStepConditionExecute::cbxCESkipRemove) == 0;
          if (holds == execute) skip = 0;
          break;
        }
        case TScriptType::stRemoveWordNumber: break;
        default: step.Execute(sname, ext, rec, ctx); break;
      }
    }
    if (type == TScriptType::stAddBeginningEnding && onCollision) {
      CollisionPass(step, sname, ext, rec, curTD, collisionindex, ctx);
    }
  }
}

bool TFrmScriptActions::ConditionHolds(const TScriptStep& step, const std::u16string& sname,
                                       const std::u16string& ext, const std::u16string& before,
                                       const RenameRecord& rec, TScriptContext& ctx) const {
  using T = TScriptStepConditionExecute;
  const std::u16string cur = sname + ext;
  switch (step.Choice(T::cbxCECondition)) {
    case 0: return cur != before;
    case 1: {
      TWildcards& matcher = ctx.Matcher(ctx.Expand(step.Text(T::txtCEText), rec));
      matcher.SetSearchString(cur);
      if (matcher.Matches()) return true;
      matcher.SetSearchString(sname);
      return matcher.Matches();
    }
    case 2: {
      TWildcards& matcher = ctx.Matcher(ctx.Expand(step.Text(T::txtCEText), rec));
      matcher.SetSearchString(cur);
      return !matcher.FindString().empty();
    }
    default: return false;
  }
}

// Finds the first free name by adding the step's text (normally holding a
// counter) until no other entry holds the name, within a bound.
void TFrmScriptActions::CollisionPass(const TScriptStep& step, std::u16string& sname,
                                      std::u16string& ext, const RenameRecord& rec,
                                      TTagData& curTD, int& collisionindex,
                                      TScriptContext& ctx) const {
  using T = TScriptStepAddBeginningEnding;
  const std::u16string folder = ExtractFilePath(rec.FullName);
  if (!ctx.Collisions().Exists(folder + sname + ext, collisionindex)) return;
  if (!step.Flag(T::cbOnCollision)) return;
  curTD.IsCollision = false;
  int n = curTD.OriginalCollision ? 0 : 1;

  RenameRecord copy;
  copy.FullName = rec.FullName;
  copy.name = rec.name;
  copy.ext = rec.ext;
  copy.listtotal = rec.listtotal;
  copy.selectedtotal = rec.selectedtotal;
  copy.foldertotal = rec.foldertotal;
  copy.incrementby = rec.incrementby;
  copy.filedate = rec.filedate;
  copy.filesize = rec.filesize;
  copy.Created = rec.Created;
  copy.Modified = rec.Modified;

  const std::u16string& text = step.Text(T::txtAdd);
  const bool onName = step.Choice(T::cbxAddPart) == 0;
  const bool atBeginning = step.Choice(T::cbxAddAtThe) == 0;
  const bool hasVariables = text.find(u'?') != std::u16string::npos;
  std::u16string candidate;
  bool taken = false;
  do {
    ++n;
    copy.listposition = copy.selectedposition = n;
    const std::u16string& base = onName ? sname : ext;
    const std::u16string added = ctx.Expand(text, copy);
    candidate = atBeginning ? added + base : base + added;
    taken = ctx.Collisions().Exists(onName ? folder + candidate + ext : folder + sname + candidate);
  } while (taken && hasVariables && n <= kMaxCollisionCandidate);
  curTD.IsCollision = taken;
  (onName ? sname : ext) = candidate;
}
