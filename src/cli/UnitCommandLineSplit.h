// The parameter table of a command line: split from the text a second copy
// of the program hands over, or taken from the arguments the process got.
// Index 0 is the program itself.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class TFrmDummyInstance {
 public:
  static constexpr int kMaxParams = 32;

  // Splits `commandLine`: trimmed and rid of every tab, then parameters
  // separated by spaces; one that starts with a double quote runs to the next
  // lone double quote ("" inside stands for one) and is stored without its
  // quotes; without a closing quote the rest is the last parameter. At most
  // kMaxParams parameters are kept; ParamStr trims blanks off each.
  explicit TFrmDummyInstance(std::u16string_view commandLine);
  // The arguments exactly as the process received them (already split by the
  // shell): no limit, nothing trimmed.
  static TFrmDummyInstance FromArguments(std::u16string program,
                                         std::vector<std::u16string> arguments);

  int ParamCount() const { return params.empty() ? 0 : static_cast<int>(params.size()) - 1; }
  // Parameter `i`; empty past the end.
  std::u16string ParamStr(int i) const;

  std::vector<std::u16string> params;

 private:
  TFrmDummyInstance() = default;
  bool trim_ = true;
};

// A command line whose splitting gives back `arguments` (each quoted, inner
// double quotes doubled); tabs are lost, as splitting removes them.
std::u16string JoinCommandLine(const std::vector<std::u16string>& arguments);
