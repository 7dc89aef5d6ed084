#include "textfile/UnitTextFileRenaming.h"

#include <algorithm>

#include "matching/UnitMetaVariables.h"
#include "platform/UnitFileSystem.h"
#include "platform/UnitText.h"
#include "textfile/UnitTextFileFormat.h"

int SkipCountFromText(std::u16string_view txtTSkip) {
  int value = 0;
  return TryStrToInt(txtTSkip, value) ? value : 0;
}

char16_t DelimiterFromText(std::u16string_view txtTDelim) {
  if (txtTDelim.empty()) return u',';
  if (AsciiLowerCase(txtTDelim) == u"tab") return u'\t';
  return txtTDelim[0];
}

void ApplyTextFileLayout(const TTextFileParameters& parameters, TTextFileFormat& format) {
  format.SetSkipedLines(SkipCountFromText(parameters.txtTSkip));
  format.SetDelim(DelimiterFromText(parameters.txtTDelim));
}

bool TextFileExists(TFileSystem& fs, const std::u16string& path) {
  return !path.empty() && fs.Exists(path) && !fs.DirectoryExists(path);
}

TStatus TTextFileRenaming::Prepare(const TTextFileParameters& parameters) {
  parameters_ = parameters;
  prepared_ = TextFileExists(fs_, parameters.txtTName);
  if (!prepared_) return TStatus::Ok();
  ApplyTextFileLayout(parameters, format_);
  return format_.LoadFromFile(fs_, parameters.txtTName);
}

int TTextFileRenaming::MatchLine(const RenameRecord& rec, int position, TMetaVariables& vars) {
  if (parameters_.Match == TTextMatchMode::ByLineNumber) {
    const int line = position - 1;
    return line >= 0 && line < format_.Count() ? line : -1;
  }
  std::u16string_view search = u"?cfn?";
  if (parameters_.cbxSearchWith == 1) search = u"?cfo?";
  if (parameters_.cbxSearchWith == 2) search = parameters_.txtTFind;
  // A tag that cannot be read leaves its variable as far as it got; the
  // search goes on with that text.
  const TExpansion expanded = vars.Expand(search, rec);
  return format_.FindLine(expanded.text);
}

int TTextFileRenaming::AssignFields(const RenameRecord& rec, int position,
                                    TMetaVariables& vars) {
  vars.ClearTextFields();
  if (!prepared_) return -1;
  const int line = MatchLine(rec, position, vars);
  if (line < 0) return -1;
  if (!parameters_.cbTDelim) {
    vars.SetTextField(0, format_.Get(line));
    return line;
  }
  // Fields past the first line's count are never assigned, nor past "?text99?".
  const int count = std::min(format_.FieldCount(), kMaxTextFields);
  for (int i = 0; i < count; ++i) {
    vars.SetTextField(static_cast<size_t>(i), format_.GetField(line, i));
  }
  return line;
}
