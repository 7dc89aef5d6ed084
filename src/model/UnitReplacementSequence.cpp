#include "model/UnitReplacementSequence.h"

#include "platform/UnitText.h"

void TReplacementSequence::Clear() {
  replaceNum.clear();
  replaceSeq = 1;
}

std::u16string TReplacementSequence::GetReplacementSequence(std::u16string_view text) {
  if (text.empty()) return {};
  const auto [it, inserted] = replaceNum.try_emplace(std::u16string(text), replaceSeq);
  if (inserted) ++replaceSeq;
  return IntToStr(it->second);
}
