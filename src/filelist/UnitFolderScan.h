// Reads a folder into the file list: flat, or recursively depth first in the
// order the file system lists entries, applying the name filter, the hidden-
// file option and the file/folder mode. Run by the list's refresh.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

#include "filelist/UnitFileListData.h"
#include "filelist/UnitScanOptions.h"
#include "matching/UnitWildcards.h"
#include "platform/UnitDateTime.h"

class TFileSystem;
class TProgress;
struct TEntryIdentity;
struct TFolderEntry;
struct TTagData;

// Entries between progress reports of a scan.
inline constexpr int kScanProgressInterval = 200;

// Where a scan puts what it finds: the file list implements it.
class TScanSink {
 public:
  virtual ~TScanSink() = default;
  virtual void AddEntry(TFileListData entry, const TTagData& tag, bool checked) = 0;
  // The identity the listing read for the entry added last (unknown when it
  // read none); called only when the scan options keep identities.
  virtual void KeepIdentity(const TEntryIdentity& identity) = 0;
  virtual int Count() const = 0;
  // Records the number of files listed in the folder `path`.
  virtual void AddFolderCount(const std::u16string& path, int files) = 0;
  // Asks the scan to stop at its next entry.
  virtual void CancelRefreshFileList() = 0;
  virtual bool RefreshCancelRequested() const = 0;
};

struct TScanResult {
  int filesCount = 0;    // files that passed the filter, listed or not
  int foldersCount = 0;  // folders listed
  bool containsMP3s = false;   // a listed file ends in ".mp3"
  bool containsJPEGs = false;  // a listed file ends in ".jpg" or ".jpeg"
  bool cancelled = false;
};

class TFolderScan {
 public:
  // `now` stands in for times the file system cannot give.
  TFolderScan(TFileSystem& fs, TProgress& progress, const TScanOptions& options, bool recursive,
              bool unchecked, TDateTime now);

  // Appends the entries to `list` (which must be empty) and adds the files
  // per folder to its folder counts. Symbolic links are listed as files and
  // never entered; folders that cannot be read are skipped.
  TScanResult Run(TScanSink& list);

 private:
  // Scans base + sub (sub empty or ending with "/").
  void ScanFolder(const std::u16string& sub);
  // Handles one entry; false to stop the listing.
  bool Visit(const std::u16string& sub, const TFolderEntry& entry, int& filesHere);
  void AddFolder(const std::u16string& sub, const TFolderEntry& entry);
  void AddFile(const std::u16string& sub, const TFolderEntry& entry);
  // `extension`: the file's extension without the "." (empty for a folder).
  void AddEntry(const std::u16string& caption, const TFolderEntry& entry, bool checked,
                std::u16string_view extension);
  // Every 200 enumerated entries: the name as sub-status, a chance to cancel.
  void CountEnumerated(const std::u16string& name);
  bool Cancelled() const;
  // The date column text of a packed time, one shared text per time: the
  // file system lists entries in no date order, so the times of one folder
  // come back again and again.
  TSharedText DateText(int32_t packed, int column);

  // Known texts per packed time; emptied when it holds kMaxDateTexts, so a
  // folder of all different times costs the scan no more than a bounded table.
  using TDateTexts = std::unordered_map<int32_t, TSharedText>;
  static constexpr size_t kMaxDateTexts = 4096;

  TFileSystem& fs_;
  TProgress& progress_;
  const TScanOptions& options_;
  TScanSink* list_ = nullptr;
  std::u16string base_;
  TWildcards wc;         // the name filter
  TWildcards fFolderMask; // folder names, when the filter applies to them
  bool fRecursive;
  bool fListFiles;
  bool fListFolders;
  bool fCheckFiles;
  bool fCheckFolders;
  TDateTime fNow;
  // Both packed times of an entry whose times are unknown (a names-only
  // listing), and the size text of an empty or unknown size: the same for
  // every such entry.
  int32_t fUnknownCreated = 0;
  int32_t fUnknownModified = 0;
  std::u16string fZeroSize;
  long long fEnumerated = 0;
  TDateTexts fDateTexts[2];  // date modified, date created
  TScanResult fResult;
};
