// Splits one line of a text file into its delimited fields, with double
// quotation marks around fields that hold the delimiter.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Rules: an empty line has no fields. A field that begins with a double
// quotation mark runs to the next lone mark ("" inside stands for one mark; an
// unclosed field runs to the end of the line); text after the closing mark up to
// the next delimiter is a field of its own. Other fields run to the next
// delimiter. Nothing is trimmed; a delimiter at the end adds an empty field.
class TFieldScanner {
 public:
  // `line` must outlive the scanner.
  TFieldScanner(std::u16string_view line, char16_t delim) : line_(line), delim_(delim) {}
  // The next field into `field`; false when the line holds no more.
  bool Next(std::u16string& field);

 private:
  void ScanQuoted(std::u16string& field);

  std::u16string_view line_;
  char16_t delim_;
  size_t pos_ = 0;
  bool done_ = line_.empty();
};

// All fields of `line`.
std::vector<std::u16string> SplitFields(std::u16string_view line, char16_t delim);
// The number of fields of `line`.
size_t CountFields(std::u16string_view line, char16_t delim);
