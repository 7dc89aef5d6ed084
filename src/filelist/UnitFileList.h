// The file list: every entry of the listed folder with its column texts,
// state flags, check marks and selection, in the order the preview numbers
// them. Owns all entries and rebuilds them on every refresh. UI-free: the
// window shows rows from here and calls the operations below; after an
// operation that changes rows it redraws them itself.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "filelist/UnitFileListData.h"
#include "filelist/UnitFileListSort.h"
#include "filelist/UnitFolderScan.h"
#include "filelist/UnitFoldersCount.h"
#include "filelist/UnitScanOptions.h"
#include "model/UnitTagData.h"
#include "platform/UnitFileSystem.h"

class TClock;
class TFileSystem;
class TProgress;

// The width of a column text in pixels, for "Auto Width".
using TTextMeasure = std::function<int(std::u16string_view text)>;

class TFrmDummyShowPreview : public TScanSink {
 public:
  static constexpr int kMaxColumns = 1000;
  static constexpr int kProgressInterval = kScanProgressInterval;

  // `fs` and `clock` must outlive the list.
  TFrmDummyShowPreview(TFileSystem& fs, const TClock& clock);

  // Rereads `options.folder` (files "Reading Files... " + count every 200
  // entries through Advanced, the sub-status through Message, then "Sorting
  // ..."). Returns false, changing nothing, while a refresh or a preview runs
  // (IgnoreInterface). `UseRecursiveOnce` makes this one scan recursive and is
  // reset to false. `Unchecked` lists new files unchecked. `FilesCount` counts
  // the files that pass the filter, also when only folders are listed;
  // `FoldersCount` the folders listed. A folder that cannot be read gives an
  // empty list. A cancelled scan keeps what it listed so far.
  bool RefreshFileList(const TScanOptions& options, TProgress& progress, bool& UseRecursiveOnce,
                       int& FilesCount, bool Unchecked, int& CheckedCount, int& FoldersCount);
  // Stops a running scan at its next entry (call it from a progress callback).
  void CancelRefreshFileList() override { DoCancelRefreshFileList = true; }
  bool RefreshCancelRequested() const override { return DoCancelRefreshFileList; }
  void AddFolderCount(const std::u16string& path, int files) override {
    fFoldersCount.Add(path, files);
  }
  bool RefreshWasCancelled() const { return fLastScanCancelled; }
  // false: RefreshFileList leaves the entries in the order the scan found
  // them, for a caller that sorts them itself (SortedPositions, ApplyOrder).
  void SetSortAfterScan(bool value) { fSortAfterScan = value; }
  // The folder and recursion of the last refresh.
  const std::u16string& ListedFolder() const { return fListedFolder; }
  bool ListIsRecursive() const { return fListIsRecursive; }

  // Re-entry guard shared by the refresh and the preview.
  bool GetIgnoreInterface() const { return IgnoreInterface; }
  void SetIgnoreInterface(bool value) { IgnoreInterface = value; }

  // Rows. Indexes past the end give nullptr / false.
  int Count() const override { return static_cast<int>(DataList.size()); }
  TFileListData* GetFileData(int row);
  const TFileListData* GetFileData(int row) const;
  // The rows lie in memory in the order the folder listed them, not in the
  // list's: a pass over the rows asks for those a little ahead of `row` while
  // it works on this one, the row first and, once it is in, its flags and its
  // names.
  void FetchAhead(int row) const;
  // The state flags of a row; nullptr ("Unexpected tagdata error") when its
  // `data` index lies outside tagdata.
  TTagData* GetTagData(int row);
  const TTagData* GetTagData(int row) const;
  // The state flags by their own index, whatever the row order.
  TTagData* GetTagDataAbsolute(int index);
  bool IsFolder(int row) const;
  // Texts by column: 0 name (caption), 1 new name, 2 size, 3 type, 4 date
  // modified, 5 date created; empty for anything else.
  std::u16string GetColumnText(int row, int column) const;
  // The folder part of the caption followed by the new-name column.
  std::u16string GetFullNewName(int row) const;
  // Appends an entry with its state flags; the list sets its `index` and
  // `data`. The scan adds through this; so can tests and benchmarks.
  void AddEntry(TFileListData entry, const TTagData& tag, bool checked) override;
  void KeepIdentity(const TEntryIdentity& identity) override;
  // Whether the last refresh kept identities it read (its options asked, and
  // its listing read them).
  bool HasListedIdentities() const { return !fIdentities.empty(); }
  // The identity the last refresh read for the entry of `row`; unknown when
  // it kept none for it.
  TEntryIdentity ListedIdentity(int row) const;
  // Removes every entry, the folder counts and the selection.
  void Clear();

  // Checking; each keeps the checked count in step and ignores a row past the end.
  bool GetChecked(int row) const;
  int SetChecked(int row);              // 1 when it was unchecked, else 0
  int SetChecked(int row, bool value);  // +1, -1 or 0: the change made
  int ToggleChecked(int row);           // +1 or -1
  int GetCheckedCount() const { return MyCheckedCount; }
  // Toggles the check of every selected row; returns the change of the count.
  int SelectedToggleCheckboxes();

  // Selection.
  void SetSelected(int row, bool value = true);
  void ClearSelected(int row) { SetSelected(row, false); }
  void ClearAllSelected();
  bool GetSelected(int row) const;
  void ToggleSelected(int row);
  int SelectedCount() const { return fSelectedCount; }
  // The selected rows, top to bottom (the SelectedList).
  std::vector<int> SelectedRows() const;

  // Manual reordering of the selected rows. MoveUp / MoveDown move each by one
  // row (nothing when the first / last row is among them); MoveTop /
  // MoveBottom gather them at that end in their order.
  void MoveUp();
  void MoveDown();
  void MoveTop();
  void MoveBottom();
  // Moves the selected rows, in their order, to stand before `row` as the
  // list is now (Count() or more: at the end); a drag of rows ends here.
  void MoveSelectedTo(int row);
  void SwapItems(int i, int j);

  // Sorting with the comparison of UnitFileListSort.h.
  void SetSortOrder(const TSortOrder& order) { fSortOrder = order; }
  const TSortOrder& GetSortOrder() const { return fSortOrder; }
  void SortData();
  // SortData in two halves: the order the sort would give (reads the list
  // only, so another thread may work it out while the list stays unchanged),
  // then that order applied. ApplyOrder ignores anything but a permutation
  // of the rows (the list changed meanwhile) and returns whether it applied.
  std::vector<uint32_t> SortedPositions() const;
  bool ApplyOrder(const std::vector<uint32_t>& positions);

  bool ListContainsMP3s() const { return containsMP3s; }
  bool ListContainsJPEGs() const { return containsJPEGs; }
  int GetCollisionCount() const { return CollisionCount; }
  int GetIllegalCount() const { return IllegalCount; }
  void SetCollisionCount(int count) { CollisionCount = count; }
  void SetIllegalCount(int count) { IllegalCount = count; }
  // Listed files per folder, keyed by the listed folder with a trailing "/"
  // plus the sub-folder part of a caption.
  const TFoldersCount& FoldersCount() const { return fFoldersCount; }
  // The listed files in the folder of a row's entry (the record's foldertotal).
  int GetFolderTotal(int row) const;

  // Widest text seen per column registry position (0 Name, 1 New Name, 2 Size,
  // 3 Type, 4 Date Modified, 5 Date Created, then custom columns). The
  // default measure counts 7 pixels per UTF-16 code unit.
  int GetColSize(int column) const;
  void SetTextMeasure(TTextMeasure measure) { fMeasure = std::move(measure); }
  // Captions by registry position, the start of every ColSize entry.
  void SetColumnCaptions(std::vector<std::u16string> captions) { fCaptions = std::move(captions); }
  // Widens column `column` to hold `text` ("[+]", the text and 20 pixels;
  // Name: the text and 50 pixels).
  void WidenColumn(int column, std::u16string_view text);

 private:

  int Measure(std::u16string_view text) const;
  void ResetColSize();
  bool ValidRow(int row) const { return row >= 0 && row < Count(); }
  // Gathers the selected rows at the top or the bottom, keeping their order.
  void GatherSelected(bool atTop);

  TFileSystem& fs_;
  const TClock& clock_;
  std::vector<std::unique_ptr<TFileListData>> DataList;
  std::vector<TTagData> tagdata;
  std::vector<TEntryIdentity> fIdentities;  // by tagdata index, when kept
  TFoldersCount fFoldersCount;
  TSortOrder fSortOrder;
  std::u16string fListedFolder;
  bool fListIsRecursive = false;
  bool IgnoreInterface = false;
  bool DoCancelRefreshFileList = false;
  bool fLastScanCancelled = false;
  bool fSortAfterScan = true;
  bool containsMP3s = false;
  bool containsJPEGs = false;
  int MyCheckedCount = 0;
  int CollisionCount = 0;
  int IllegalCount = 0;
  int fSelectedCount = 0;
  std::vector<int> ColSize;
  std::vector<std::u16string> fCaptions;
  TTextMeasure fMeasure;
};
