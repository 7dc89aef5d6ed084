// Meta-variable expansion: turns a text holding "?name?" or "?name:format?"
// variables into plain text for one entry of the file list.
//
// The object holds the expansion state the rest of the program sets (reserved-
// character replacements, counter options, "?temp?", the text-file fields, the
// two switches) and the services it reads through (file system, clock,
// environment, tag readers). One caller thread.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "model/UnitRenameRecord.h"
#include "platform/UnitStatus.h"

class TClock;
class TEnvironment;
class TFileSystem;
class TTagReader;

// What Expand returns. On a failed tag read (a file that cannot be opened)
// `status` holds the error and `text` the text as far as it was expanded.
struct [[nodiscard]] TExpansion {
  std::u16string text;
  TStatus status;
};

class TMetaVariables {
 public:
  // The reserved characters, in the order of the settings' replacement boxes.
  static constexpr std::u16string_view kReserved = u"\\/<>\"?:|*.";

  // The services must outlive this object.
  TMetaVariables(TFileSystem& fs, const TClock& clock, const TEnvironment& env,
                 TTagReader& tags);

  // The whole expansion of `text` for the entry `rec`.
  TExpansion Expand(std::u16string_view text, const RenameRecord& rec);

  // Every reserved character of `value` replaced by its configured character
  // (unless `RawOnce` is set: then it is cleared and the value kept as it is).
  std::u16string ReplaceReserved(std::u16string_view value);
  void ReplaceReservedInPlace(std::u16string& value);

  // Sets the character that stands for `reserved` (one of kReserved) in values.
  void SetReplacement(char16_t reserved, char16_t replacement);
  char16_t Replacement(char16_t reserved) const;
  void SetCounterUsesListPosition(bool value) { CounterUsesListPosition = value; }
  void SetCounterStart(int value) { CounterStart = value; }
  void SetCounterStep(int value) { CounterStep = value; }
  void SetTempText(std::u16string_view value) { TempText = std::u16string(value); }
  const std::u16string& GetTempText() const { return TempText; }
  void SetRawOnce(bool value) { RawOnce = value; }
  void ClearTextFields() { TextFields.clear(); }
  // Field `index` (0-based) of the entry's text-file line: "?text<index+1>?".
  void SetTextField(size_t index, std::u16string_view value);
  // "Detect when meta-variables are empty or missing": keep empty variables.
  void SetKeepEmptyVariables(bool value) { KeepEmpty = value; }
  // "Detect Windows environment variables (eg. %TEMP%)".
  void SetExpandEnvironment(bool value) { ExpandEnvironment = value; }

 private:
  struct TPass;

  std::u16string ExpandEnvironmentPieces(std::u16string_view text);
  TStatus VideoPass(std::u16string& text, const RenameRecord& rec, const std::u16string& file);
  TStatus Mp3Pass(std::u16string& text, const RenameRecord& rec, const std::u16string& file);
  TStatus JpegPass(std::u16string& text, const RenameRecord& rec, const std::u16string& file);
  void FileContentPass(std::u16string& text, const std::u16string& file);
  void SimpleVariablePass(std::u16string& text, const RenameRecord& rec);
  std::u16string FileContent(std::u16string_view lowerName, const std::u16string& file);
  std::u16string SimpleValue(int index, const RenameRecord& rec, bool hasDateFormat);
  long long Counter(const RenameRecord& rec) const;
  // Replaces `variable` at `at` and after it by `value` (or keeps it marked
  // when empty). False, with `text` unchanged, when that would make the text
  // longer than the expansion's limit.
  bool KeepOrReplace(std::u16string& text, size_t at, std::u16string_view variable,
                     const std::u16string& value, bool keepAllowed) const;

  TFileSystem& fs_;
  const TClock& clock_;
  const TEnvironment& env_;
  TTagReader& tags_;

  std::array<char16_t, 10> replacements_;
  bool CounterUsesListPosition = false;
  int CounterStart = 1;
  int CounterStep = 1;
  std::u16string TempText;
  std::vector<std::u16string> TextFields;
  bool RawOnce = false;
  bool KeepEmpty = true;
  bool ExpandEnvironment = true;
};
