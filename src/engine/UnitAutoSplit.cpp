#include "engine/UnitAutoSplit.h"

#include <map>

#include "engine/UnitScriptStepMove.h"
#include "platform/UnitText.h"

namespace {

// The extension as the proposal counts it: the text from the last ".".
std::u16string_view ExtensionOf(std::u16string_view fileName) {
  const size_t dot = fileName.rfind(u'.');
  return dot == std::u16string_view::npos ? std::u16string_view() : fileName.substr(dot);
}

// Counts values in order; the most frequent wins, a tie going to the value
// that reached the winning count first.
class TMostFrequent {
 public:
  void Add(const std::u16string& value) {
    const int count = ++counts_[value];
    if (count > bestCount_) bestCount_ = count, best_ = value;
  }
  const std::u16string& Best() const { return best_; }

 private:
  std::map<std::u16string, int> counts_;
  std::u16string best_;
  int bestCount_ = 0;
};

enum class TCharClass { Digit, Letter, Space, Other };

TCharClass Classify(char16_t c) {
  if (c >= u'0' && c <= u'9') return TCharClass::Digit;
  if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z')) return TCharClass::Letter;
  if (c == u' ') return TCharClass::Space;
  return TCharClass::Other;
}

// One token per run of digits ("0") or letters ("A"); every other character,
// spaces included, stands for itself.
std::u16string Tokens(std::u16string_view stem) {
  std::u16string tokens;
  TCharClass previous = TCharClass::Other;
  for (const char16_t c : stem) {
    const TCharClass cls = Classify(c);
    if (cls == TCharClass::Digit || cls == TCharClass::Letter) {
      if (cls != previous) tokens.push_back(cls == TCharClass::Digit ? u'0' : u'A');
    } else {
      tokens.push_back(c);
    }
    previous = cls;
  }
  return tokens;
}

// Words or numbers separated by single spaces become one run.
std::u16string Collapse(std::u16string tokens) {
  static constexpr std::u16string_view kRules[][2] = {
      {u"0 0 ", u"0 "}, {u" 0 0", u" 0"}, {u"A A ", u"A "}, {u" A A", u" A"}};
  for (const auto& rule : kRules) {
    while (tokens.find(rule[0]) != std::u16string::npos) tokens = ReplaceAll(tokens, rule[0], rule[1]);
  }
  return tokens;
}

std::u16string ShapeOfStem(std::u16string_view stem) {
  std::u16string shape;
  for (const char16_t c : Collapse(Tokens(stem))) {
    if (c == u'0') {
      shape += u"[0-9]";
    } else if (c == u'A') {
      shape.push_back(u'*');
    } else {
      shape.push_back(c);
    }
  }
  while (!shape.empty() && shape.back() <= u' ') shape.pop_back();
  return shape;
}

// "$1".."$9", then "${10}" and up so that a following digit cannot join the number.
std::u16string GroupReference(int n) {
  return n < 10 ? u"$" + IntToStr(n) : u"${" + IntToStr(n) + u"}";
}

}  // namespace

std::u16string TAutoSplit::GetWildcardExpression(const TAutoSplitSource& list) const {
  TMostFrequent extensions;
  for (int i = 0; i < list.Count(); ++i) {
    if (list.IsChecked(i)) extensions.Add(std::u16string(ExtensionOf(list.Name(i))));
  }
  const std::u16string& winner = extensions.Best();
  TMostFrequent shapes;
  bool any = false;
  for (int i = 0; i < list.Count(); ++i) {
    if (!list.IsChecked(i)) continue;
    const std::u16string name = list.Name(i);
    if (ExtensionOf(name) != winner) continue;
    shapes.Add(Shape(name));
    any = true;
  }
  return any ? shapes.Best() + winner : std::u16string();
}

std::u16string TAutoSplit::Shape(std::u16string_view fileName) {
  return ShapeOfStem(fileName.substr(0, fileName.size() - ExtensionOf(fileName).size()));
}

std::u16string TAutoSplit::FormForMask(std::u16string_view mask) {
  const std::u16string stars = ReplaceAll(ReplaceAll(mask, u"[0-9]", u"*"), u"[a-z]", u"*");
  std::u16string form;
  int n = 0;
  for (const char16_t c : stars) {
    if (c == u'*') {
      form += GroupReference(++n);
    } else {
      form.push_back(c);
    }
  }
  return form;
}

void AutoSplitStep(TScriptStepSplitAndMove& step, const TAutoSplitSource& list) {
  const std::u16string mask = TAutoSplit().GetWildcardExpression(list);
  step.SetText(TScriptStepSplitAndMove::txtFilemask, mask);
  step.SetText(TScriptStepSplitAndMove::txtMove, TAutoSplit::FormForMask(mask));
}
