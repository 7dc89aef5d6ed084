#include "filelist/UnitFileList.h"

#include <algorithm>

#include "model/UnitRenameRecord.h"
#include "platform/UnitClock.h"
#include "platform/UnitProgress.h"

namespace {

constexpr int kDefaultPixelsPerCodeUnit = 7;

// Clears the re-entry guard when the refresh ends, however it ends.
class TGuardReset {
 public:
  explicit TGuardReset(bool& flag) : flag_(flag) { flag_ = true; }
  ~TGuardReset() { flag_ = false; }
  TGuardReset(const TGuardReset&) = delete;
  TGuardReset& operator=(const TGuardReset&) = delete;

 private:
  bool& flag_;
};

}  // namespace

TFrmDummyShowPreview::TFrmDummyShowPreview(TFileSystem& fs, const TClock& clock)
    : fs_(fs),
      clock_(clock),
      ColSize(kMaxColumns, 0),
      fCaptions{u"Name", u"New Name", u"Size", u"Type", u"Date Modified", u"Date Created"} {}

bool TFrmDummyShowPreview::RefreshFileList(const TScanOptions& options, TProgress& progress,
                                           bool& UseRecursiveOnce, int& FilesCount,
                                           bool Unchecked, int& CheckedCount, int& FoldersCount) {
  if (IgnoreInterface) return false;
  TGuardReset guard(IgnoreInterface);
  DoCancelRefreshFileList = false;
  containsMP3s = false;
  containsJPEGs = false;
  CollisionCount = 0;
  IllegalCount = 0;
  ResetColSize();
  Clear();
  fListedFolder = options.folder;
  fListIsRecursive = UseRecursiveOnce;

  progress.Started(u"Reading Files... ", -1);
  TFolderScan scan(fs_, progress, options, UseRecursiveOnce, Unchecked, clock_.Now());
  const TScanResult result = scan.Run(*this);
  // The lists grew by doubling; a large one would keep up to half its room unused.
  DataList.shrink_to_fit();
  tagdata.shrink_to_fit();
  progress.Message(u"");
  progress.Finished();

  containsMP3s = result.containsMP3s;
  containsJPEGs = result.containsJPEGs;
  fLastScanCancelled = result.cancelled;
  UseRecursiveOnce = false;
  FilesCount = result.filesCount;
  FoldersCount = result.foldersCount;
  CheckedCount = MyCheckedCount;

  if (fSortAfterScan) {
    progress.Started(u"Sorting ...", -1);
    SortData();
    progress.Finished();
  }
  return true;
}

TFileListData* TFrmDummyShowPreview::GetFileData(int row) {
  return ValidRow(row) ? DataList[static_cast<size_t>(row)].get() : nullptr;
}

const TFileListData* TFrmDummyShowPreview::GetFileData(int row) const {
  return ValidRow(row) ? DataList[static_cast<size_t>(row)].get() : nullptr;
}

TTagData* TFrmDummyShowPreview::GetTagData(int row) {
  const TFileListData* entry = GetFileData(row);
  return entry == nullptr ? nullptr : GetTagDataAbsolute(entry->data);
}

const TTagData* TFrmDummyShowPreview::GetTagData(int row) const {
  const TFileListData* entry = GetFileData(row);
  if (entry == nullptr || entry->data < 0 || static_cast<size_t>(entry->data) >= tagdata.size()) {
    return nullptr;
  }
  return &tagdata[static_cast<size_t>(entry->data)];
}

TTagData* TFrmDummyShowPreview::GetTagDataAbsolute(int index) {
  if (index < 0 || static_cast<size_t>(index) >= tagdata.size()) return nullptr;
  return &tagdata[static_cast<size_t>(index)];
}

bool TFrmDummyShowPreview::IsFolder(int row) const {
  const TTagData* tag = GetTagData(row);
  return tag != nullptr && tag->IsFolder;
}

std::u16string TFrmDummyShowPreview::GetColumnText(int row, int column) const {
  const TFileListData* entry = GetFileData(row);
  return entry == nullptr ? std::u16string() : entry->ColumnText(column);
}

void TFrmDummyShowPreview::FetchAhead(int row) const {
  constexpr int kAhead = 8;
  if (const TFileListData* far = GetFileData(row + 2 * kAhead)) {
    __builtin_prefetch(far);
    __builtin_prefetch(&far->data);  // on another cache line
  }
  if (const TFileListData* near = GetFileData(row + kAhead)) {
    __builtin_prefetch(GetTagData(row + kAhead));
    __builtin_prefetch(near->caption.data());
    __builtin_prefetch(near->GetNewName().data());
  }
}

std::u16string TFrmDummyShowPreview::GetFullNewName(int row) const {
  const TFileListData* entry = GetFileData(row);
  if (entry == nullptr) return {};
  return ExtractFilePath(entry->caption) + entry->GetNewName();
}

int TFrmDummyShowPreview::GetFolderTotal(int row) const {
  const TFileListData* entry = GetFileData(row);
  if (entry == nullptr) return 0;
  std::u16string folder = fListedFolder;
  if (folder.empty() || folder.back() != u'/') folder.push_back(u'/');
  return fFoldersCount.GetCount(folder + ExtractFilePath(entry->caption));
}

void TFrmDummyShowPreview::AddEntry(TFileListData entry, const TTagData& tag, bool checked) {
  entry.index = Count();
  entry.data = static_cast<int>(tagdata.size());
  entry.fChecked = checked;
  entry.fSelected = false;
  if (checked) ++MyCheckedCount;
  WidenColumn(0, entry.caption);
  for (int column = TFileListData::kSizeColumn; column <= TFileListData::kDateCreatedColumn;
       ++column) {
    WidenColumn(column, entry.ColumnText(column));
  }
  tagdata.push_back(tag);
  DataList.push_back(std::make_unique<TFileListData>(std::move(entry)));
}

void TFrmDummyShowPreview::KeepIdentity(const TEntryIdentity& identity) {
  if (tagdata.empty() || !identity.Known()) return;
  fIdentities.resize(tagdata.size());
  fIdentities.back() = identity;
}

TEntryIdentity TFrmDummyShowPreview::ListedIdentity(int row) const {
  const TFileListData* entry = GetFileData(row);
  if (entry == nullptr || entry->data < 0 || static_cast<size_t>(entry->data) >= fIdentities.size()) {
    return {};
  }
  return fIdentities[static_cast<size_t>(entry->data)];
}

void TFrmDummyShowPreview::Clear() {
  DataList.clear();
  tagdata.clear();
  fIdentities.clear();
  fFoldersCount.Clear();
  MyCheckedCount = 0;
  fSelectedCount = 0;
}

bool TFrmDummyShowPreview::GetChecked(int row) const {
  const TFileListData* entry = GetFileData(row);
  return entry != nullptr && entry->Checked();
}

int TFrmDummyShowPreview::SetChecked(int row) { return SetChecked(row, true) > 0 ? 1 : 0; }

int TFrmDummyShowPreview::SetChecked(int row, bool value) {
  TFileListData* entry = GetFileData(row);
  if (entry == nullptr || entry->fChecked == value) return 0;
  entry->fChecked = value;
  MyCheckedCount += value ? 1 : -1;
  return value ? 1 : -1;
}

int TFrmDummyShowPreview::ToggleChecked(int row) { return SetChecked(row, !GetChecked(row)); }

int TFrmDummyShowPreview::SelectedToggleCheckboxes() {
  int change = 0;
  for (const int row : SelectedRows()) change += ToggleChecked(row);
  return change;
}

void TFrmDummyShowPreview::SetSelected(int row, bool value) {
  TFileListData* entry = GetFileData(row);
  if (entry == nullptr || entry->fSelected == value) return;
  entry->fSelected = value;
  fSelectedCount += value ? 1 : -1;
}

void TFrmDummyShowPreview::ClearAllSelected() {
  if (fSelectedCount == 0) return;
  for (auto& entry : DataList) entry->fSelected = false;
  fSelectedCount = 0;
}

bool TFrmDummyShowPreview::GetSelected(int row) const {
  const TFileListData* entry = GetFileData(row);
  return entry != nullptr && entry->Selected();
}

void TFrmDummyShowPreview::ToggleSelected(int row) { SetSelected(row, !GetSelected(row)); }

std::vector<int> TFrmDummyShowPreview::SelectedRows() const {
  std::vector<int> rows;
  if (fSelectedCount == 0) return rows;
  rows.reserve(static_cast<size_t>(fSelectedCount));
  for (int row = 0; row < Count(); ++row) {
    if (DataList[static_cast<size_t>(row)]->Selected()) rows.push_back(row);
  }
  return rows;
}

void TFrmDummyShowPreview::MoveUp() {
  const std::vector<int> rows = SelectedRows();
  if (rows.empty() || rows.front() == 0) return;
  for (const int row : rows) SwapItems(row, row - 1);
}

void TFrmDummyShowPreview::MoveDown() {
  const std::vector<int> rows = SelectedRows();
  if (rows.empty() || rows.back() == Count() - 1) return;
  for (auto it = rows.rbegin(); it != rows.rend(); ++it) SwapItems(*it, *it + 1);
}

void TFrmDummyShowPreview::MoveTop() { GatherSelected(true); }

void TFrmDummyShowPreview::MoveBottom() { GatherSelected(false); }

void TFrmDummyShowPreview::GatherSelected(bool atTop) {
  if (fSelectedCount == 0) return;
  const auto isSelected = [](const std::unique_ptr<TFileListData>& entry) {
    return entry->Selected();
  };
  if (atTop) {
    std::stable_partition(DataList.begin(), DataList.end(), isSelected);
  } else {
    std::stable_partition(DataList.begin(), DataList.end(),
                          [&](const auto& entry) { return !isSelected(entry); });
  }
}

void TFrmDummyShowPreview::MoveSelectedTo(int row) {
  if (fSelectedCount == 0) return;
  const size_t before = static_cast<size_t>(std::clamp(row, 0, Count()));
  // The unselected rows ahead of `before` stay ahead, the others go behind.
  std::stable_partition(DataList.begin(), DataList.begin() + static_cast<std::ptrdiff_t>(before),
                        [](const auto& entry) { return !entry->Selected(); });
  std::stable_partition(DataList.begin() + static_cast<std::ptrdiff_t>(before), DataList.end(),
                        [](const auto& entry) { return entry->Selected(); });
  // Now: unselected ahead, selected ahead, selected behind, unselected behind.
}

void TFrmDummyShowPreview::SwapItems(int i, int j) {
  if (!ValidRow(i) || !ValidRow(j)) return;
  std::swap(DataList[static_cast<size_t>(i)], DataList[static_cast<size_t>(j)]);
}

void TFrmDummyShowPreview::SortData() { SortFileList(DataList, tagdata, fSortOrder); }

std::vector<uint32_t> TFrmDummyShowPreview::SortedPositions() const {
  return ::SortedPositions(DataList, tagdata, fSortOrder);
}

bool TFrmDummyShowPreview::ApplyOrder(const std::vector<uint32_t>& positions) {
  if (positions.size() != DataList.size()) return false;
  std::vector<bool> seen(positions.size(), false);
  for (const uint32_t position : positions) {
    if (position >= seen.size() || seen[position]) return false;
    seen[position] = true;
  }
  std::vector<std::unique_ptr<TFileListData>> ordered;
  ordered.reserve(DataList.size());
  for (const uint32_t position : positions) ordered.push_back(std::move(DataList[position]));
  DataList = std::move(ordered);
  return true;
}

int TFrmDummyShowPreview::GetColSize(int column) const {
  return column >= 0 && column < kMaxColumns ? ColSize[static_cast<size_t>(column)] : 0;
}

int TFrmDummyShowPreview::Measure(std::u16string_view text) const {
  if (fMeasure) return fMeasure(text);
  return static_cast<int>(std::min<size_t>(text.size(), 1 << 20)) * kDefaultPixelsPerCodeUnit;
}

void TFrmDummyShowPreview::WidenColumn(int column, std::u16string_view text) {
  if (column < 0 || column >= kMaxColumns) return;
  const int width = column == 0 ? Measure(text) + 50 : Measure(u"[+]") + Measure(text) + 20;
  int& widest = ColSize[static_cast<size_t>(column)];
  if (width > widest) widest = width;
}

void TFrmDummyShowPreview::ResetColSize() {
  for (int column = 0; column < kMaxColumns; ++column) {
    const std::u16string caption =
        static_cast<size_t>(column) < fCaptions.size() ? fCaptions[static_cast<size_t>(column)] : u"";
    ColSize[static_cast<size_t>(column)] = Measure(caption + u"[+]    ");
  }
}
