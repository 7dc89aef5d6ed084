// Proposes a "Split and Move" mask from the checked entries of the file list:
// the most common shape of name among the most common extension.
#pragma once

#include <string>
#include <string_view>

// The part of the file list that the proposal reads.
class TAutoSplitSource {
 public:
  virtual ~TAutoSplitSource() = default;
  virtual int Count() const = 0;
  virtual bool IsChecked(int index) const = 0;
  // The entry's name with extension as the list shows it.
  virtual std::u16string Name(int index) const = 0;
};

class TAutoSplit {
 public:
  // The mask for the checked entries, e.g. "[0-9] - *.mp3"; empty when none.
  std::u16string GetWildcardExpression(const TAutoSplitSource& list) const;
  // The shape of one file name without its extension (the text from the last
  // "."), e.g. "[0-9] - *" for "01 - Them Bones.mp3".
  static std::u16string Shape(std::u16string_view fileName);
  // The form that matches a mask: "[0-9] - *.mp3" gives "$1 - $2.mp3".
  static std::u16string FormForMask(std::u16string_view mask);
};

class TScriptStepSplitAndMove;

// The "Auto-Split" button: fills the step's mask and form from the list.
void AutoSplitStep(TScriptStepSplitAndMove& step, const TAutoSplitSource& list);
