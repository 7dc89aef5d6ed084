#include "rename/UnitIdentityReadAhead.h"

#include <algorithm>
#include <utility>

#include "filelist/UnitFileList.h"

TIdentityReadAhead::TIdentityReadAhead(TFolderHandle& folder, const TFrmDummyShowPreview& list)
    : folder_(folder) {
  if (list.HasListedIdentities()) return;
  // One pass over the rows: each is fetched once.
  const size_t checked = static_cast<size_t>(std::max(0, list.GetCheckedCount()));
  rows_.reserve(checked);
  starts_.reserve(checked + 1);
  for (int row = 0; row < list.Count(); ++row) {
    list.FetchAhead(row);
    const TFileListData& data = *list.GetFileData(row);
    if (!data.Checked()) continue;
    if (names_.size() + data.caption.size() > UINT32_MAX) return;  // nothing read ahead
    rows_.push_back(row);
    starts_.push_back(static_cast<uint32_t>(names_.size()));
    names_ += data.caption;
  }
  starts_.push_back(static_cast<uint32_t>(names_.size()));
  std::vector<std::u16string_view> views;
  views.reserve(rows_.size());
  for (size_t i = 0; i < rows_.size(); ++i) {
    views.emplace_back(names_.data() + starts_[i], starts_[i + 1] - starts_[i]);
  }
  ahead_ = folder_.ReadIdentitiesAhead(std::move(views));
}

std::vector<TEntryIdentity> TIdentityReadAhead::IdentitiesOf(
    const std::vector<int>& rows, const std::vector<std::u16string_view>& names) {
  const std::vector<TEntryIdentity> early = ahead_ ? ahead_->Stop() : std::vector<TEntryIdentity>();
  ahead_.reset();
  std::vector<TEntryIdentity> ids(names.size());
  std::vector<size_t> late;  // not read ahead, or not found then
  std::vector<std::u16string_view> lateNames;
  size_t j = 0;
  for (size_t i = 0; i < names.size(); ++i) {
    while (j < early.size() && rows_[j] < rows[i]) ++j;
    const bool readAhead =
        j < early.size() && rows_[j] == rows[i] && early[j].Known() &&
        std::u16string_view(names_).substr(starts_[j], starts_[j + 1] - starts_[j]) == names[i];
    if (readAhead) {
      ids[i] = early[j];
    } else {
      late.push_back(i);
      lateNames.push_back(names[i]);
    }
  }
  const std::vector<TEntryIdentity> now = folder_.EntryIdentities(lateNames);
  for (size_t k = 0; k < late.size(); ++k) ids[late[k]] = now[k];
  return ids;
}
