#include "filelist/UnitCaseConversion.h"

#include "platform/UnitText.h"

namespace {

bool IsAsciiUpper(char16_t c) { return c >= u'A' && c <= u'Z'; }
bool IsAsciiLetter(char16_t c) { return IsAsciiUpper(c) || (c >= u'a' && c <= u'z'); }
char16_t AsciiUpper(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; }
char16_t AsciiLower(char16_t c) { return IsAsciiUpper(c) ? static_cast<char16_t>(c + 32) : c; }

bool IsRomanDigit(char16_t c) {
  return std::u16string_view(u"cdilmvx").find(AsciiLower(c)) != std::u16string_view::npos;
}

// Code units taken by the character at `i`: 2 for a valid surrogate pair, else 1.
size_t CharLength(std::u16string_view text, size_t i) {
  const bool pair = text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() &&
                    text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
  return pair ? 2 : 1;
}

char32_t CodePointAt(std::u16string_view text, size_t i) {
  if (CharLength(text, i) == 1) return text[i];
  return 0x10000 + ((static_cast<char32_t>(text[i]) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
}

class TSeparators {
 public:
  explicit TSeparators(std::u16string_view extra) : extra_(extra) {}
  bool Contains(char16_t c) const {
    return kWordSeparators.find(c) != std::u16string_view::npos ||
           extra_.find(c) != std::u16string_view::npos;
  }

 private:
  std::u16string_view extra_;
};

// Exclusive end of the piece that begins at `start`: up to and including the
// first separator, stretched over the separators after it but never over the
// last character of the text. A piece that begins with a separator is that
// one separator.
size_t PieceEnd(std::u16string_view text, size_t start, const TSeparators& separators) {
  if (separators.Contains(text[start])) return start + 1;
  size_t end = start;
  while (end < text.size() && !separators.Contains(text[end])) ++end;
  if (end == text.size()) return end;
  ++end;
  while (end + 1 < text.size() && separators.Contains(text[end])) ++end;
  return end;
}

// Appends `piece` with its first character replaced by the upper-cased ASCII
// best fit of that character, when there is one.
void AppendCapitalized(std::u16string& out, std::u16string_view piece) {
  const size_t firstLength = CharLength(piece, 0);
  const char16_t fit = AsciiUpper(AsciiBestFit(CodePointAt(piece, 0)));
  if (fit == u'?') {
    out.append(piece);
  } else {
    out.push_back(fit);
    out.append(piece.substr(firstLength));
  }
}

std::u16string CapitalizeSentence(std::u16string_view text) {
  std::u16string out = AsciiLowerCase(text);
  if (out.empty()) return out;
  const size_t firstLength = CharLength(text, 0);
  out.replace(0, firstLength, UpperCase(text.substr(0, firstLength)));
  return out;
}

bool IsStopWord(std::u16string_view segment) {
  size_t run = 0;
  while (run < segment.size() && IsAsciiLetter(segment[run])) ++run;
  std::u16string probe = u" " + AsciiLowerCase(segment.substr(0, run)) + u" ";
  return kTitleCaseStopWords.find(probe) != std::u16string_view::npos;
}

}  // namespace

std::u16string CapitalizeWords(std::u16string_view text, std::u16string_view extra) {
  const std::u16string lower = AsciiLowerCase(text);
  const std::u16string_view view(lower);
  const TSeparators separators(extra);
  std::u16string out;
  out.reserve(lower.size());
  for (size_t start = 0; start < view.size();) {
    const size_t end = PieceEnd(view, start, separators);
    AppendCapitalized(out, view.substr(start, end - start));
    start = end;
  }
  return out;
}

std::u16string TitleCase(std::u16string_view text, std::u16string_view extra) {
  std::u16string words = CapitalizeWords(text, extra);
  // Segments: the text from one capital run to the next (what comes before the
  // first capital stays in front). They begin at a capital after a non-capital.
  size_t segment = 0;
  while (segment < words.size() && !IsAsciiUpper(words[segment])) ++segment;
  if (segment == words.size()) return std::u16string(text);
  bool isFirst = true;
  while (segment < words.size()) {
    size_t next = segment + 1;
    while (next < words.size() && !(IsAsciiUpper(words[next]) && !IsAsciiUpper(words[next - 1]))) {
      ++next;
    }
    const bool isLast = next == words.size();
    if (!isFirst && !isLast && IsStopWord(std::u16string_view(words).substr(segment))) {
      words[segment] = AsciiLower(words[segment]);
    }
    isFirst = false;
    segment = next;
  }
  return words;
}

std::u16string RomanNumerals(std::u16string_view text) {
  std::u16string out(text);
  for (size_t i = 0; i < out.size();) {
    if (!IsAsciiLetter(out[i])) {
      ++i;
      continue;
    }
    size_t end = i;
    bool roman = true;
    for (; end < out.size() && IsAsciiLetter(out[end]); ++end) roman = roman && IsRomanDigit(out[end]);
    if (roman) {
      for (size_t k = i; k < end; ++k) out[k] = AsciiUpper(out[k]);
    }
    i = end;
  }
  return out;
}

void ConvertCase(std::u16string& name, std::u16string& ext, const TCaseOptions& options) {
  if (!options.cbOverrideCase) return;
  const std::u16string scriptExt = ext;
  const std::u16string_view extra =
      options.cbSplit ? std::u16string_view(options.txtSplit) : std::u16string_view();
  switch (options.Mode) {
    case TCaseStyle::None:
      break;
    case TCaseStyle::Uppercase:
      name = UpperCase(name);
      ext = UpperCase(ext);
      break;
    case TCaseStyle::Lowercase:
      name = LowerCase(name);
      ext = LowerCase(ext);
      break;
    case TCaseStyle::CapitalizeWords:
      name = CapitalizeWords(name, extra);
      ext = CapitalizeWords(ext, extra);
      break;
    case TCaseStyle::CapitalizeSentence:
      name = CapitalizeSentence(name);
      ext = AsciiLowerCase(ext);
      break;
    case TCaseStyle::TitleCase:
      name = TitleCase(name, extra);
      ext = TitleCase(ext, extra);
      break;
  }
  if (options.cbCRoman) name = RomanNumerals(name);
  if (options.cbCPreserverExtension) ext = scriptExt;
}
