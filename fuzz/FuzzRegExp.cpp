// The regular-expression matcher over arbitrary expressions and texts. Byte 0:
// replace all (bit 1), texts as raw UTF-16LE (bit 2), so lone surrogates of
// both kinds reach the mapping; the rest holds expression, search string and
// replacement, separated by NUL. Expressions that backtrack without end stop
// at the matcher's own match and heap limits (PCRE2_ERROR_MATCHLIMIT).
#include <cstdint>

#include "UnitFuzzInput.h"
#include "UnitMatcherFuzz.h"
#include "UnitMemoryFile.h"
#include "matching/UnitRegExpWildcards.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Each match may spend the whole match limit, and a walk makes one match
  // per character: the text stays short enough that a walk ends in seconds.
  if (size > kMaxFuzzInput / 16) return 0;
  TFuzzInput input(FuzzBytes(data, size));
  const uint8_t flags = input.Byte();
  const auto texts = input.Texts(3, (flags & 4) != 0);
  const bool replaceAll = (flags & 2) != 0;

  TRegExpWildcards matcher;
  if (matcher.AssignFilemode(false).ok()) __builtin_trap();  // refused, as documented
  matcher.SetSearchPattern(TextAt(texts, 0));
  matcher.SetSearchString(TextAt(texts, 1));
  CheckMatcher(matcher, true);
  (void)matcher.LastError();
  (void)matcher.SearchReplaceWith(TextAt(texts, 2), replaceAll);
  CheckMatcher(matcher, true);

  TRegExpWildcards fresh;
  (void)fresh.SearchReplaceWith(TextAt(texts, 1), TextAt(texts, 0), TextAt(texts, 2), replaceAll);
  return 0;
}
