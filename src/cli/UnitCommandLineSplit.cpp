#include "cli/UnitCommandLineSplit.h"

#include "platform/UnitText.h"

namespace {

// The quoted parameter starting at `text[0]` (a double quote): its text and
// the length it takes up.
std::u16string QuotedParameter(std::u16string_view text, size_t& length) {
  std::u16string value;
  size_t i = 1;
  while (i < text.size()) {
    if (text[i] != u'"') {
      value += text[i++];
    } else if (i + 1 < text.size() && text[i + 1] == u'"') {
      value += u'"';
      i += 2;
    } else {
      length = i + 1;
      return value;
    }
  }
  length = text.size();
  return value;
}

}  // namespace

TFrmDummyInstance::TFrmDummyInstance(std::u16string_view commandLine) {
  const std::u16string text = ReplaceAll(Trim(commandLine), u"\t", u"");
  std::u16string_view rest = text;
  while (static_cast<int>(params.size()) < kMaxParams) {
    while (!rest.empty() && rest.front() == u' ') rest.remove_prefix(1);
    if (rest.empty()) break;
    if (rest.front() == u'"') {
      size_t length = 0;
      params.push_back(QuotedParameter(rest, length));
      rest.remove_prefix(length);
    } else {
      const size_t space = rest.find(u' ');
      const size_t length = space == std::u16string_view::npos ? rest.size() : space + 1;
      params.emplace_back(rest.substr(0, length));
      rest.remove_prefix(length);
    }
  }
}

TFrmDummyInstance TFrmDummyInstance::FromArguments(std::u16string program,
                                                   std::vector<std::u16string> arguments) {
  TFrmDummyInstance table;
  table.trim_ = false;
  table.params.reserve(arguments.size() + 1);
  table.params.push_back(std::move(program));
  for (std::u16string& argument : arguments) table.params.push_back(std::move(argument));
  return table;
}

std::u16string TFrmDummyInstance::ParamStr(int i) const {
  if (i < 0 || i >= static_cast<int>(params.size())) return {};
  const std::u16string& value = params[static_cast<size_t>(i)];
  return trim_ ? Trim(value) : value;
}

std::u16string JoinCommandLine(const std::vector<std::u16string>& arguments) {
  std::u16string line;
  for (const std::u16string& argument : arguments) {
    if (!line.empty()) line += u' ';
    line += u'"' + ReplaceAll(argument, u"\"", u"\"\"") + u'"';
  }
  return line;
}
