// The renaming step: the base of the eighteen step kinds. A step holds its
// parameters as named, typed values (text, choice, flag) declared once per
// kind, and rewrites an entry's name and extension in Execute.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/UnitRenameRecord.h"

class TScriptContext;

// The step kind; its ordinal is the TYPE of script files.
enum class TScriptType : uint8_t {
  stAddBeginningEnding = 0,
  stAddPosition = 1,
  stAddBeforeAfter = 2,
  stReplaceNameExtension = 3,
  stReplaceCharacters = 4,
  stReplaceNumbers = 5,
  stRemoveWords = 6,
  stRemoveBeginningEnding = 7,
  stRemoveSubstring = 8,
  stRemoveBeforeAfter = 9,
  stAddCounter = 10,
  stRemoveExpression = 11,
  stConditionalExecute = 12,
  stRemoveWordNumber = 13,
  stSplitAndMove = 14,
  stSelectAndMove = 15,
  stSwap = 16,
  stFindAndEdit = 17,
};
inline constexpr int kScriptTypeCount = 18;

enum class TParamKind : uint8_t { Text, Choice, Flag };

// The declaration of one parameter of a step kind.
struct TParamDef {
  std::u16string_view name;                     // the control's name: txt..., cbx..., cb..., rb...
  TParamKind kind = TParamKind::Text;
  std::u16string_view defaultText;              // Text: the value of a new step
  int defaultChoice = 0;                        // Choice: the item index of a new step
  bool defaultFlag = false;                     // Flag: the state of a new step
  std::span<const std::u16string_view> items;   // Choice: the item texts
  std::u16string_view caption;                  // Flag: the check box or radio caption
  bool resetByReset = true;                     // Reset restores the default
  bool stored = true;                           // written to and read from script files
  int spinMin = 0, spinMax = 0;                 // Text with a spin control: its range (max > 0)
};

constexpr TParamDef TextParam(std::u16string_view name, std::u16string_view def = u"",
                              bool resets = true) {
  TParamDef d;
  d.name = name, d.kind = TParamKind::Text, d.defaultText = def, d.resetByReset = resets;
  return d;
}
constexpr TParamDef SpinParam(std::u16string_view name, std::u16string_view def, int min, int max,
                              bool resets = true) {
  TParamDef d = TextParam(name, def, resets);
  d.spinMin = min, d.spinMax = max;
  return d;
}
constexpr TParamDef ChoiceParam(std::u16string_view name,
                                std::span<const std::u16string_view> items, int def = 0,
                                bool resets = true) {
  TParamDef d;
  d.name = name, d.kind = TParamKind::Choice, d.items = items, d.defaultChoice = def;
  d.resetByReset = resets;
  return d;
}
constexpr TParamDef FlagParam(std::u16string_view name, std::u16string_view caption,
                              bool def = false, bool resets = true) {
  TParamDef d;
  d.name = name, d.kind = TParamKind::Flag, d.caption = caption, d.defaultFlag = def;
  d.resetByReset = resets;
  return d;
}

// One word of a step's sentence: what it shows and where it comes from, so the
// editor can draw text parameters bold and choices underlined.
struct TSentenceWord {
  enum class TKind : uint8_t { Label, Text, Choice, Flag };
  TKind kind = TKind::Label;
  std::u16string text;  // a Text word holds the parameter's text without quotes
  int parameter = -1;   // index of the parameter it shows; -1 for fixed labels
};
using TSentence = std::vector<TSentenceWord>;

// The words joined with single spaces, text parameters in single quotes.
std::u16string SentenceText(const TSentence& sentence);

class TScriptStep {
 public:
  virtual ~TScriptStep() = default;
  TScriptStep(const TScriptStep&) = delete;
  TScriptStep& operator=(const TScriptStep&) = delete;

  TScriptType ScriptType() const { return scriptType_; }
  bool Enabled = true;

  // The kind's parameters in declaration order.
  std::span<const TParamDef> Parameters() const { return params_; }
  // Index of the parameter `name` (compared without regard to case), or -1.
  int FindParameter(std::u16string_view name) const;
  // Indexes of the stored parameters sorted by name without regard to case:
  // the order script files write them in.
  std::vector<int> ParametersInFileOrder() const;

  const std::u16string& Text(int index) const { return values_[static_cast<size_t>(index)].text; }
  int Choice(int index) const { return values_[static_cast<size_t>(index)].choice; }
  bool Flag(int index) const { return values_[static_cast<size_t>(index)].flag; }
  // Setters notify ParameterChanged, as an edit in the editor would. A choice
  // outside the kind's items is kept as given (files may hold any index).
  void SetText(int index, std::u16string_view value);
  void SetChoice(int index, int value);
  void SetFlag(int index, bool value);
  // Called after every SetText / SetChoice / SetFlag (the script uses it to
  // tell the preview).
  void SetChangeHook(std::function<void()> hook) { changeHook_ = std::move(hook); }
  // Text of parameter `index` read with the integer rule: the decimal value,
  // or `def` when the text is empty or unreadable.
  int IntegerParam(int index, int def) const;

  // The kind's title.
  virtual std::u16string GetShortSentence() const = 0;
  // The full sentence, built from the parameters.
  virtual TSentence GetSentence() const = 0;
  // Applies the step to one entry: `ext` carries its leading ".". The base
  // changes nothing.
  virtual void Execute(std::u16string& sname, std::u16string& ext, RenameRecord& rec,
                       TScriptContext& ctx);
  // Sets the parameters that the kind resets back to their defaults.
  virtual void Reset();

 protected:
  TScriptStep(TScriptType type, std::span<const TParamDef> params);
  // Called after a parameter's value changed.
  virtual void ParameterChanged(int /*index*/) {}

  // Sentence helpers.
  TSentenceWord LabelWord(std::u16string_view text) const;
  TSentenceWord TextWord(int index) const;
  TSentenceWord ChoiceWord(int index) const;
  TSentenceWord FlagWord(int index) const;

 private:
  struct TValue {
    std::u16string text;
    int choice = 0;
    bool flag = false;
  };
  void SetDefault(int index);
  void Changed(int index);

  TScriptType scriptType_;
  std::span<const TParamDef> params_;
  std::vector<TValue> values_;
  std::function<void()> changeHook_;
};
