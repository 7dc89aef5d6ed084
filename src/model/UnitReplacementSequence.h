// Numbers distinct texts in order of first appearance during one preview pass
// ("Replace Numbers" uses it to give each distinct number its sequence number).
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

class TReplacementSequence {
 public:
  // Forgets every text; numbering starts at 1 again.
  void Clear();
  // Empty for an empty text; otherwise the decimal number given to `text`,
  // giving it the next free number the first time it is seen.
  std::u16string GetReplacementSequence(std::u16string_view text);

 private:
  std::unordered_map<std::u16string, int> replaceNum;
  int replaceSeq = 1;
};
