// The script: the ordered list of steps that the script editor owns, the
// operations on it, and RunScriptOn, which applies the enabled steps to one
// entry of the file list. UI-free: the editor window shows this model.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/UnitScriptStep.h"

class TScriptContext;
struct TTagData;

// The holder of one step in the script lists.
class TScriptStepControl {
 public:
  TScriptStepControl(std::unique_ptr<TScriptStep> step, int tag)
      : ScriptStep(std::move(step)), tag_(tag) {}
  bool fDeleted = false;
  std::unique_ptr<TScriptStep> ScriptStep;
  // The number that identifies the holder in the editor.
  int GetTag() const { return tag_; }

 private:
  int tag_;
};

// A step's line in the editor: the prefix ("[01] ", plus " >> " under an
// enabled Skip/Execute step) and the shown words.
struct TStepLine {
  std::u16string prefix;
  TSentence words;
  bool full = false;  // the full sentence rather than the title
  // Prefix and words as one text: the step's hint.
  std::u16string Text() const;
};

class TFrmScriptActions {
 public:
  TFrmScriptActions() = default;
  TFrmScriptActions(const TFrmScriptActions&) = delete;
  TFrmScriptActions& operator=(const TFrmScriptActions&) = delete;

  // Called after every change of a step or of the list (the preview listens).
  void SetChangeListener(std::function<void()> listener) { listener_ = std::move(listener); }

  // Creates a step of `type` with default parameters and appends it to the
  // script; switched off at once when `Disabled`. Returns the new step.
  TScriptStep& NewScriptControl(TScriptType type, bool Disabled = false);
  void Clear();
  void ClearDisabled();
  bool AnyEnabled() const;
  // Whether a step's text may name a meta variable or an environment
  // variable (holds "?" or "%"): only those read an entry's size and times.
  bool MayReadEntryAttributes() const;
  void DisableAll();
  void ResetAll();

  // Operations on the step at position `index` (0-based) of the script.
  void ToggleEnable(int index);
  // With `shift` only resets the step; otherwise deletes it from the script.
  void Delete(int index, bool shift);
  void ResetStep(int index);
  // With `shift` to the top / bottom.
  void MoveUp(int index, bool shift);
  void MoveDown(int index, bool shift);
  void MoveTo(int index, int newIndex);
  // Tells the listener that a step's parameter was edited.
  void StepChanged() { Notify(); }

  // The script in execution order (live holders).
  int Count() const { return static_cast<int>(ScriptControlOrder.size()); }
  TScriptStep& Step(int index) { return *ScriptControlOrder[static_cast<size_t>(index)]->ScriptStep; }
  const TScriptStep& Step(int index) const {
    return *ScriptControlOrder[static_cast<size_t>(index)]->ScriptStep;
  }
  const std::vector<TScriptStepControl*>& Order() const { return ScriptControlOrder; }
  // Every holder created since the last Clear, deleted ones included.
  const std::vector<std::unique_ptr<TScriptStepControl>>& AllControls() const {
    return ScriptControlList;
  }
  // The steps by family, as the editor identifies them.
  const std::vector<TScriptStep*>& AddSteps() const { return StepAddList; }
  const std::vector<TScriptStep*>& ReplaceSteps() const { return StepReplaceList; }
  const std::vector<TScriptStep*>& RemoveSteps() const { return StepRemoveList; }
  const std::vector<TScriptStep*>& OtherSteps() const { return StepOtherList; }

  // The editor's lines for every step: the full sentence when the step is
  // enabled and `folded(i)` is true, or always with `alwaysFull`.
  std::vector<TStepLine> Lines(bool alwaysFull,
                               const std::function<bool(int)>& folded = nullptr) const;

  // Applies every enabled step to one entry. On return `sname` and `ext` hold
  // the new name and extension (ext with its leading "."), and
  // `collisionindex` is -1 or the list index of the entry that already held the
  // new name when a collision pass found a collision.
  void RunScriptOn(std::u16string& sname, std::u16string& ext, RenameRecord rec,
                   TTagData& curTD, int& collisionindex, TScriptContext& ctx) const;

  static std::u16string GetScriptExtension() { return u".twscr"; }

 private:
  void Notify() const;
  void Renumber();
  bool ConditionHolds(const TScriptStep& step, const std::u16string& sname,
                      const std::u16string& ext, const std::u16string& before,
                      const RenameRecord& rec, TScriptContext& ctx) const;
  void CollisionPass(const TScriptStep& step, std::u16string& sname, std::u16string& ext,
                     const RenameRecord& rec, TTagData& curTD, int& collisionindex,
                     TScriptContext& ctx) const;

  std::vector<std::unique_ptr<TScriptStepControl>> ScriptControlList;
  std::vector<TScriptStepControl*> ScriptControlOrder;
  std::vector<TScriptStep*> StepAddList, StepReplaceList, StepRemoveList, StepOtherList;
  std::function<void()> listener_;
  int nextTag_ = 0;
};
