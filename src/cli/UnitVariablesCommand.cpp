#include "cli/UnitVariablesCommand.h"

#include "cli/UnitCommandOutput.h"
#include "cli/UnitCommandText.h"
#include "cli/UnitPreviewCommand.h"
#include "filelist/UnitEntryColumns.h"
#include "matching/UnitVariableCatalogue.h"
#include "metadata/UnitExifTags.h"
#include "model/UnitRenameRecord.h"
#include "platform/UnitEnvironment.h"
#include "platform/UnitText.h"
#include "session/UnitSession.h"

namespace {

constexpr std::u16string_view kFileAndFolder = u"file and folder";
constexpr std::u16string_view kFileDates = u"file dates";
constexpr std::u16string_view kToday = u"today's date";
constexpr std::u16string_view kSize = u"size";
constexpr std::u16string_view kTotals = u"totals";
constexpr std::u16string_view kCounter = u"counter";
constexpr std::u16string_view kTemp = u"temp";
constexpr std::u16string_view kTextFile = u"text file";
constexpr std::u16string_view kMp3Tags = u"MP3 tags";
constexpr std::u16string_view kMp3Stream = u"MP3 stream";
constexpr std::u16string_view kJpeg = u"JPEG";
constexpr std::u16string_view kExif = u"EXIF";
constexpr std::u16string_view kXmp = u"XMP";
constexpr std::u16string_view kVideo = u"video";
constexpr std::u16string_view kFileContents = u"file contents";

// The families of the simple variables by ranges of the catalogue's table,
// with the word that tells apart captions the table repeats ("commas" of
// each size unit). A test checks that the ranges cover the table once.
struct TSimpleGroup {
  int first, last;
  std::u16string_view family;
  std::u16string_view qualifier;
};
constexpr TSimpleGroup kSimpleGroups[] = {
    {svCurrentFolder, svCurrentFolder, kFileAndFolder, u""},
    {svTodayShort, svTodayLong, kToday, u""},
    {svDateShort, svDateLong, kFileDates, u""},
    {svExtension, svExtension, kFileAndFolder, u""},
    {svListTotal, svFolderTotal, kTotals, u""},
    {svSizeCommas, svSizeCommas, kSize, u"bytes"},
    {svSizeGb2Dec, svSizeGbPlain, kSize, u"gigabytes"},
    {svSizeMbCommas, svSizeMbPlain, kSize, u"megabytes"},
    {svSizeKbCommas, svSizeKbPlain, kSize, u"kilobytes"},
    {svSizeBytes, svSizeBytes, kSize, u"bytes"},
    {svCounter13, svCounter, kCounter, u""},
    {svFileNameExt, svFileName, kFileAndFolder, u""},
    {svDateModified, svDateCreated, kFileDates, u""},
    {svParentFolder, svParentFolder, kFileAndFolder, u""},
    {svTemp, svTemp, kTemp, u""},
};

struct TNamedVariable {
  std::u16string_view family;
  std::u16string_view variable;
  std::u16string_view caption;
  bool form;
};
// The tag families, whose names each family's pass recognises by prefix.
// A test checks the MP3 and JPEG names against their readers.
constexpr TNamedVariable kTagVariables[] = {
    {kMp3Tags, u"?I_AL?", u"Album", false},
    {kMp3Tags, u"?I_AR?", u"Artist", false},
    {kMp3Tags, u"?I_TI?", u"Song Title", false},
    {kMp3Tags, u"?I_TR?", u"Track (two digits at least)", false},
    {kMp3Tags, u"?I_C?", u"Comment", false},
    {kMp3Tags, u"?I_Y?", u"Year", false},
    {kMp3Tags, u"?I_G?", u"Genre", false},
    {kMp3Stream, u"?M_B?", u"Bitrate (kilobits)", false},
    {kMp3Stream, u"?M_S?", u"Samples (hertz)", false},
    {kMp3Stream, u"?M_C?", u"Channels (1|Mono or 2|Stereo)", false},
    {kJpeg, u"?J_W?", u"Width", false},
    {kJpeg, u"?J_H?", u"Height", false},
    {kJpeg, u"?J_B?", u"Color Bits", false},
    {kXmp, u"?xmp_PREFIX_NAME?",
     u"the XMP property PREFIX:NAME in lower case, for example ?xmp_dc_creator?", true},
    {kVideo, u"?v_wd?", u"width", false},
    {kVideo, u"?v_ht?", u"height", false},
    {kVideo, u"?v_len?", u"duration hh-mm-ss", false},
    {kVideo, u"?v_qt_ATOM?", u"the QuickTime text item ATOM", true},
    {kVideo, u"?v_ms_FIELD?", u"the ASF text field FIELD", true},
    {kFileContents, u"?fcp_1.40?",
     u"characters 1 to 40 of the file as ANSI text (?fcp_X.Y?: X to Y)", false},
    {kFileContents, u"?fcu_1.40?",
     u"characters 1 to 40 of the file as UTF-16 (?fcu_X.Y?: X to Y)", false},
};

std::u16string SimpleCaption(int index, std::u16string_view qualifier) {
  const TVariableInfo& info = SimpleVariables()[static_cast<size_t>(index)];
  std::u16string caption(info.caption);
  if (index >= svCounter13 && index <= svCounter) {
    const int digits = svCounter - index;  // "?n13?" .. "?n01?", then "?n00?"
    caption += digits == 0 ? std::u16string(u", no padding")
                           : u", padded to " + IntToStr(digits) + (digits == 1 ? u" digit" : u" digits");
  }
  if (index == svTemp && caption.empty()) caption = u"the text a remove step saved in ?temp?";
  if (!qualifier.empty()) caption = u"in " + std::u16string(qualifier) + u", " + caption;
  return caption;
}

}  // namespace

std::vector<std::u16string_view> VariableFamilies() {
  return {kFileAndFolder, kFileDates, kToday, kSize, kTotals, kCounter, kTemp, kTextFile,
          kMp3Tags, kMp3Stream, kJpeg, kExif, kXmp, kVideo, kFileContents};
}

std::vector<TVariableRow> VariableCatalogue() {
  std::vector<TVariableRow> all;
  for (const TSimpleGroup& group : kSimpleGroups) {
    for (int i = group.first; i <= group.last; ++i) {
      all.push_back({group.family, SimpleVariableName(i), SimpleCaption(i, group.qualifier), false});
    }
  }
  all.push_back({kTextFile, u"?textN?",
                 u"field N (1 to " + IntToStr(svText99 - svText1 + 1) +
                     u") of the entry's line of the text file",
                 true});
  for (const TNamedVariable& named : kTagVariables) {
    all.push_back({named.family, std::u16string(named.variable), std::u16string(named.caption),
                   named.form});
  }
  for (const TExifTag& tag : ExifTagTable()) {
    // A tag the table keeps without a name is captioned with its number.
    const std::u16string caption =
        tag.name.empty() ? u"EXIF tag " + IntToStr(tag.tag) : std::u16string(tag.name);
    all.push_back({kExif, u"?" + AsciiLowerCase(tag.code) + u"?", caption, false});
  }
  std::vector<TVariableRow> ordered;
  for (const std::u16string_view family : VariableFamilies()) {
    for (const TVariableRow& row : all) {
      if (row.family == family) ordered.push_back(row);
    }
  }
  return ordered;
}

int RunVariablesCommand(TSession& session, const std::optional<std::u16string>& file,
                        TCommandOutput& output) {
  RenameRecord record;
  if (file) {
    const TStatus status =
        MakeSingleEntryRecord(session.fs, session.clock, AbsolutePath(*file), record);
    if (!status.ok()) {
      output.Err(u"tallowick: " + status.Message() + u"\n");
      return 2;
    }
  }
  std::u16string text;
  std::u16string_view family;
  for (const TVariableRow& row : VariableCatalogue()) {
    if (row.family != family) text += u"# " + std::u16string(row.family) + u"\n";
    family = row.family;
    text += row.variable + u"\t" + row.caption;
    if (file) {
      text += u"\t";
      if (!row.form) {
        const TExpansion expansion = session.vars.Expand(row.variable, record);
        if (!expansion.status.ok()) {
          output.Err(u"tallowick: " + expansion.status.Message() + u"\n");
          return 2;
        }
        text += EscapeForTable(expansion.text);
      }
    }
    text += u"\n";
  }
  output.Out(text);
  return 0;
}
