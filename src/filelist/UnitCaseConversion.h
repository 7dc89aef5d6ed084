// The "Change Case" conversion the preview applies to every new name and
// extension after the script, and the word helpers it is built from.
#pragma once

#include <string>
#include <string_view>

// The case radio buttons; None when none is selected (a script switched all off).
enum class TCaseStyle {
  None,
  Uppercase,           // rbCUppercase "UPPERCASE"
  Lowercase,           // rbCLowercase "lowercase"
  CapitalizeWords,     // rbCCapitalizeWords "Capitalize Words"
  CapitalizeSentence,  // rbCCapitalizeSentence "Capitalize sentence"
  TitleCase,           // rbCTitleCase "Capitalize with Title Case"
};

// The case options of the main window.
struct TCaseOptions {
  bool cbOverrideCase = false;              // "Change Case": nothing happens when off
  TCaseStyle Mode = TCaseStyle::Uppercase;  // None: Roman numerals and Preserve Extension only
  bool cbSplit = false;                     // use txtSplit as extra word separators
  std::u16string txtSplit;                  // "Additional word separator characters"
  bool cbCRoman = false;                    // "Detect and capitalize Roman Numerals" (name only)
  bool cbCPreserverExtension = false;       // "Preserve Extension": the script's extension stays
};

// The 32 word separators of the word modes, in their stored order.
inline constexpr std::u16string_view kWordSeparators = u" `~!@#$%^&*()_-+={[}]|\\:;\"<,>.?/";
// The title-case stop words, each enclosed in blanks.
inline constexpr std::u16string_view kTitleCaseStopWords =
    u" a an the  amid as at atop but by down for from in into like near next of off on onto out"
    u" over past per plus than to up upon via with  and both even if nor not now once only or so"
    u" that till when yet ";

// Converts `name` (without extension) and `ext` (with its leading ".") in place.
void ConvertCase(std::u16string& name, std::u16string& ext, const TCaseOptions& options);

// Lower-cases A-Z, then upper-cases the first character of every word (its
// US-ASCII best fit, when it has one). Words end after a run of separators:
// kWordSeparators plus `extra`.
std::u16string CapitalizeWords(std::u16string_view text, std::u16string_view extra);
// CapitalizeWords, then the stop words between the first and the last word
// lower-cased again.
std::u16string TitleCase(std::u16string_view text, std::u16string_view extra);
// Upper-cases (A-Z) every word whose ASCII letters are all Roman digits.
std::u16string RomanNumerals(std::u16string_view text);
