// The simple wildcard matcher over arbitrary patterns and texts. Byte 0: file-
// name mode (bit 0), replace all (bit 1), texts as raw UTF-16LE (bit 2); the
// rest holds pattern, search string and replacement, separated by NUL.
#include <cstdint>

#include "UnitFuzzInput.h"
#include "UnitMatcherFuzz.h"
#include "UnitMemoryFile.h"
#include "matching/UnitWildcards.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A replace-all result grows with the product of text and replacement.
  if (size > kMaxFuzzInput / 8) return 0;
  TFuzzInput input(FuzzBytes(data, size));
  const uint8_t flags = input.Byte();
  const auto texts = input.Texts(3, (flags & 4) != 0);
  const bool filemode = (flags & 1) != 0;
  const bool replaceAll = (flags & 2) != 0;

  TWildcards matcher;
  if (!matcher.AssignFilemode(filemode).ok()) __builtin_trap();
  matcher.SetSearchPattern(TextAt(texts, 0));
  matcher.SetSearchString(TextAt(texts, 1));
  CheckMatcher(matcher, filemode);
  (void)matcher.SearchReplaceWith(TextAt(texts, 2), replaceAll);
  // The search string is kept, so the same matches are found again.
  CheckMatcher(matcher, filemode);

  TWildcards fresh;
  (void)fresh.SearchReplaceWith(TextAt(texts, 1), TextAt(texts, 0), TextAt(texts, 2), replaceAll);
  return 0;
}
