#include "filelist/UnitFolderScan.h"

#include "filelist/UnitEntryColumns.h"
#include "model/UnitRenameRecord.h"
#include "model/UnitTagData.h"
#include "platform/UnitFileSystem.h"
#include "platform/UnitProgress.h"
#include "platform/UnitText.h"

namespace {

std::u16string WithTrailingSlash(std::u16string path) {
  if (path.empty() || path.back() != u'/') path.push_back(u'/');
  return path;
}

}  // namespace

TFolderScan::TFolderScan(TFileSystem& fs, TProgress& progress, const TScanOptions& options,
                         bool recursive, bool unchecked, TDateTime now)
    : fs_(fs),
      progress_(progress),
      options_(options),
      fRecursive(recursive),
      fListFiles(options.mode != TFileFolderMode::FoldersOnly),
      fListFolders(options.mode != TFileFolderMode::FilesOnly),
      fCheckFiles(!unchecked),
      fCheckFolders(!recursive && (!options.dontSelectFolders ||
                                   options.mode == TFileFolderMode::FoldersOnly)),
      fNow(now),
      fZeroSize(FormatSizeColumn(0)) {
  PackEntryTimes(0, 0, fNow, fUnknownCreated, fUnknownModified);
  const std::u16string pattern = options.filter.empty() ? u"*.*" : options.filter;
  (void)wc.AssignFilemode(true);  // always Ok for simple wildcards
  wc.SetSearchPattern(pattern);
  (void)fFolderMask.AssignFilemode(true);
  fFolderMask.SetSearchPattern(options.filterFolderNames ? pattern : u"*.*");
}

TScanResult TFolderScan::Run(TScanSink& list) {
  list_ = &list;
  fResult = TScanResult();
  if (!options_.folder.empty()) {
    base_ = WithTrailingSlash(options_.folder);
    ScanFolder(u"");
  }
  fResult.cancelled = Cancelled();
  return fResult;
}

void TFolderScan::ScanFolder(const std::u16string& sub) {
  if (fRecursive) progress_.Message(u"Scanning ../" + sub);
  int filesHere = 0;
  // A folder that cannot be listed contributes nothing.
  const auto visit = [&](const TFolderEntry& entry) { return Visit(sub, entry, filesHere); };
  if (options_.describeEntries) {
    (void)fs_.ListFolder(base_ + sub, visit);
  } else {
    (void)fs_.ListFolderNames(base_ + sub, visit);
  }
  list_->AddFolderCount(base_ + sub, filesHere);
}

bool TFolderScan::Visit(const std::u16string& sub, const TFolderEntry& entry, int& filesHere) {
  if (Cancelled()) return false;
  CountEnumerated(entry.name);
  if (options_.noHiddenFiles && entry.info.hidden) return true;
  if (entry.info.isFolder) {
    fFolderMask.SetSearchString(entry.name);
    if (!fFolderMask.Matches()) return true;
    if (fRecursive) {
      ScanFolder(sub + entry.name + u'/');
    } else if (fListFolders) {
      AddFolder(sub, entry);
    }
    return !Cancelled();
  }
  wc.SetSearchString(entry.name);
  if (!wc.Matches()) return true;
  ++filesHere;
  ++fResult.filesCount;
  if (fListFiles) AddFile(sub, entry);
  return true;
}

void TFolderScan::AddFolder(const std::u16string& sub, const TFolderEntry& entry) {
  ++fResult.foldersCount;
  AddEntry(sub + entry.name, entry, fCheckFolders, u"");
}

void TFolderScan::AddFile(const std::u16string& sub, const TFolderEntry& entry) {
  const size_t dot = entry.name.rfind(u'.');
  const std::u16string_view ext = dot == std::u16string::npos
                                      ? std::u16string_view()
                                      : std::u16string_view(entry.name).substr(dot + 1);
  if (ext.size() <= 4) {
    const std::u16string lowered = AsciiLowerCase(ext);
    if (lowered == u"mp3") fResult.containsMP3s = true;
    if (lowered == u"jpg" || lowered == u"jpeg") fResult.containsJPEGs = true;
  }
  AddEntry(sub + entry.name, entry, fCheckFiles, ext);
}

void TFolderScan::AddEntry(const std::u16string& caption, const TFolderEntry& entry,
                           bool checked, std::u16string_view extension) {
  const bool isFolder = entry.info.isFolder;
  TFileListData data;
  data.caption = caption;
  if (isFolder) {
    data.SetSize(u"0");
    data.SetType(u"", true);
  } else {
    data.SetSize(entry.info.size == 0 ? fZeroSize : FormatSizeColumn(entry.info.size));
    data.SetType(UpperCase(extension), false);
  }
  TTagData tag;
  tag.IsFolder = isFolder;
  if (entry.info.created == 0 && entry.info.modified == 0) {
    tag.Created = fUnknownCreated;
    tag.Modified = fUnknownModified;
  } else {
    PackEntryTimes(entry.info.created, entry.info.modified, fNow, tag.Created, tag.Modified);
  }
  data.SetDate(DateText(tag.Modified, 0));
  data.SetDateCreated(DateText(tag.Created, 1));
  list_->AddEntry(std::move(data), tag, checked);
  if (options_.keepIdentities) list_->KeepIdentity(entry.identity);
  const int count = list_->Count();
  if (count % kScanProgressInterval == 0) {
    progress_.Advanced(count);
    if (progress_.Cancelled()) list_->CancelRefreshFileList();
  }
}

void TFolderScan::CountEnumerated(const std::u16string& name) {
  if (++fEnumerated % kScanProgressInterval != 0) return;
  progress_.Message(name);
  if (progress_.Cancelled()) list_->CancelRefreshFileList();
}

bool TFolderScan::Cancelled() const { return list_->RefreshCancelRequested(); }

TSharedText TFolderScan::DateText(int32_t packed, int column) {
  TDateTexts& texts = fDateTexts[column];
  const auto found = texts.find(packed);
  if (found != texts.end()) return found->second;
  if (texts.size() >= kMaxDateTexts) texts.clear();
  TSharedText text = TFileListData::ShareText(FormatDateColumn(packed, options_.fullDateTime));
  texts.emplace(packed, text);
  return text;
}
