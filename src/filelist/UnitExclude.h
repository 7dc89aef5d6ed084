// The exclude list: file names and masks whose entries are unchecked after
// every refresh of the file list, kept sorted and without duplicates in
// "exclude.ini" in the application folder, one mask per line.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "filelist/UnitFileMask.h"
#include "platform/UnitStatus.h"

class TFileSystem;
class TFrmDummyShowPreview;

class TFrmExclude {
 public:
  static constexpr std::u16string_view kFileName = u"exclude.ini";

  // The examples the dialog offers, each "caption (mask)".
  static std::vector<std::u16string> ExampleMasks();
  // The mask between the parentheses of an example, or the text itself.
  static std::u16string MaskOfExample(std::u16string_view example);

  // Adds `mask` with outer blanks trimmed; false when it is empty or already
  // listed (ignoring case).
  bool Add(std::u16string_view mask);
  // Removes `mask` (ignoring case); false when it is not listed.
  bool Delete(std::u16string_view mask);
  void Clear();
  // The masks in order, ignoring case.
  const std::vector<std::u16string>& Masks() const { return fMasks; }

  // Replaces the list with the lines of `path`: UTF-8 (a byte-order mark is
  // skipped), UTF-16 with its byte-order mark, or Windows-1252 when the bytes
  // are not UTF-8. A missing file gives an empty list and Ok.
  TStatus Load(TFileSystem& fs, const std::u16string& path);
  // Writes the list as UTF-8 lines ending in LF, replacing `path` atomically.
  TStatus Save(TFileSystem& fs, const std::u16string& path) const;

  // Whether the entry `caption` matches a mask. A mask without "/" is tested
  // against the file-name part of the caption, so "Thumbs.db" also excludes
  // the one in a sub-folder of a recursive scan; a mask with "/" against the
  // whole caption.
  bool Matches(std::u16string_view caption) const;
  // Unchecks every checked entry of `list` that matches; returns how many.
  int ExcludeNow(TFrmDummyShowPreview& list) const;

 private:
  void Compile();
  bool MatchesLowered(std::u16string_view loweredCaption) const;

  std::vector<std::u16string> fMasks;
  // Compiled: literal masks looked up by lowered text, the others tested in turn.
  std::unordered_set<std::u16string> fNames;
  std::unordered_set<std::u16string> fPaths;
  std::vector<TFileMask> fNameMasks;
  std::vector<TFileMask> fPathMasks;
};
