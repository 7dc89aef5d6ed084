// The record describing one entry of the file list to the steps of a script and
// to meta-variable expansion. A value: copied for each entry, never shared.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct RenameRecord {
  std::u16string FullName;    // listed folder with trailing "/" + caption
  std::u16string name;        // file name without extension; a folder's whole name
  std::u16string shortname;   // the entry's alternative short name (none on this platform)
  std::u16string columnname;  // the caption: relative name with sub-folder
  std::u16string ext;         // extension without the leading "."; empty for folders
  int listposition = 0;       // 1-based position in the list
  int listtotal = 0;          // number of entries in the list
  int selectedposition = 0;   // running position among checked entries
  int selectedtotal = 0;      // number of checked entries
  int foldertotal = 0;        // number of listed files in the entry's folder
  int incrementby = 1;        // the "increment by" counting option
  int changedcount = 0;       // running count of entries the script changed
  std::u16string filedate;    // date-modified column text without enclosing "[" "]"
  std::u16string filesize;    // size column text
  int32_t Created = 0;        // packed DOS date-time, as TTagData
  int32_t Modified = 0;
  bool ScriptChanged = false; // a step changed the name even if the text stayed the same
};

// Fills the name fields of `record` for the entry `caption` (relative name,
// "/" between sub-folders) of the listed folder `folder`:
// FullName, columnname, shortname, name, ext and filedate.
void FillRenameRecordNames(RenameRecord& record, std::u16string_view folder,
                           std::u16string_view caption, bool isFolder,
                           std::u16string_view altname, std::u16string_view dateColumn);

// The "name" and "ext" split of one file name (no folder part): the extension
// is what follows the last "."; a name without "." has no extension.
void SplitNameAndExtension(std::u16string_view fileName, std::u16string& name,
                           std::u16string& ext);

// The folder part of a path with its trailing "/", or empty.
std::u16string ExtractFilePath(std::u16string_view path);
// The last component of a path.
std::u16string ExtractFileName(std::u16string_view path);
