#include "config/UnitColumnManager.h"

#include <algorithm>
#include <unordered_map>

#include "platform/UnitText.h"

namespace {

struct TStandardColumn {
  const char16_t* title;
  TColumnType kind;
  TColumnAlignment alignment;
};

constexpr TStandardColumn kStandardColumns[] = {
    {u"Name", COL_TYPE_NAME, TColumnAlignment::Left},
    {u"New Name", COL_TYPE_NEWNAME, TColumnAlignment::Left},
    {u"Size", COL_TYPE_SIZE, TColumnAlignment::Right},
    {u"Type", COL_TYPE_TYPE, TColumnAlignment::Left},
    {u"Date Modified", COL_TYPE_DATE, TColumnAlignment::Right},
    {u"Date Created", COL_TYPE_DATECREATED, TColumnAlignment::Right},
};

int NormalSortKind(int kind) {
  return kind == SORT_AS_NUMBER || kind == SORT_AS_DATE ? kind : SORT_AS_TEXT;
}

}  // namespace

TColumnManager::TColumnManager() {
  for (const TStandardColumn& c : kStandardColumns) AddColumn(c.title, c.kind, c.alignment);
  sortId_ = columns_.front().id;
}

size_t TColumnManager::Register(TColumnType kind) {
  for (size_t i = 0; i < registry_.size(); ++i) {
    if (!registry_[i].used) {
      registry_[i] = {true, kind, false, 0};
      return i;
    }
  }
  if (registry_.size() >= kMaxRegistry) return npos;
  registry_.push_back({true, kind, false, 0});
  return registry_.size() - 1;
}

void TColumnManager::AddColumn(std::u16string_view title, TColumnType kind,
                               TColumnAlignment alignment) {
  TListColumn column;
  column.id = nextId_++;
  column.title = std::u16string(title);
  column.kind = kind;
  column.alignment = alignment;
  column.registry = Register(kind);
  columns_.push_back(std::move(column));
}

void TColumnManager::RemoveColumn(size_t index) {
  registry_[columns_[index].registry] = TRegistryEntry();
  const bool wasSort = columns_[index].id == sortId_;
  columns_.erase(columns_.begin() + static_cast<std::ptrdiff_t>(index));
  // A deleted sort column hands the sort back to the Name column.
  if (wasSort) sortId_ = columns_[IndexOfKind(COL_TYPE_NAME)].id;
}

std::u16string TColumnManager::Caption(size_t index) const {
  const TListColumn& c = columns_[index];
  if (c.id != sortId_) return c.title;
  return (registry_[c.registry].descending ? u"[-] " : u"[+] ") + c.title;
}

size_t TColumnManager::IndexOfKind(TColumnType kind) const {
  for (size_t i = 0; i < columns_.size(); ++i) {
    if (columns_[i].kind == kind) return i;
  }
  return npos;
}

size_t TColumnManager::IndexOfCaption(std::u16string_view text) const {
  for (size_t i = 0; i < columns_.size(); ++i) {
    if (Caption(i).find(text) != std::u16string::npos) return i;
  }
  return npos;
}

size_t TColumnManager::IndexOfId(int id) const {
  for (size_t i = 0; i < columns_.size(); ++i) {
    if (columns_[i].id == id) return i;
  }
  return npos;
}

void TColumnManager::MoveColumn(size_t from, size_t to) {
  if (from >= columns_.size()) return;
  to = std::min(to, columns_.size() - 1);
  TListColumn moving = std::move(columns_[from]);
  columns_.erase(columns_.begin() + static_cast<std::ptrdiff_t>(from));
  columns_.insert(columns_.begin() + static_cast<std::ptrdiff_t>(to), std::move(moving));
}

void TColumnManager::SetAutoWidth(size_t registry, int width) {
  if (registry < registry_.size()) registry_[registry].autoWidth = width;
}

int TColumnManager::AutoWidth(size_t registry) const {
  return registry < registry_.size() ? registry_[registry].autoWidth : 0;
}

bool TColumnManager::SortDescending() const {
  return registry_[columns_[SortColumn()].registry].descending;
}

bool TColumnManager::DirectionFlag(size_t registry) const {
  return registry < registry_.size() && registry_[registry].descending;
}

bool TColumnManager::HeaderClick(size_t index) {
  if (index >= columns_.size() || columns_[index].kind == COL_TYPE_NEWNAME) return false;
  sortId_ = columns_[index].id;
  bool& flag = registry_[columns_[index].registry].descending;
  flag = !flag;
  return true;
}

size_t TColumnManager::IndexOfCustom(std::u16string_view title) const {
  for (size_t i = 0; i < customs_.size(); ++i) {
    if (SameTextIgnoringCase(customs_[i].title, title)) return i;
  }
  return npos;
}

TStatus TColumnManager::AddOrReplaceCustomColumn(std::u16string_view title,
                                                 std::u16string_view data, int sortKind) {
  const bool replacing = IndexOfCustom(title) != npos;
  if (!replacing && registry_.size() >= kMaxRegistry &&
      std::none_of(registry_.begin(), registry_.end(),
                   [](const TRegistryEntry& e) { return !e.used; })) {
    return TStatus::Error(-1, u"", u"Too many columns: " + std::u16string(title));
  }
  DeleteCustomColumn(title);
  const int kind = NormalSortKind(sortKind);
  AddColumn(title, COL_TYPE_CUSTOM,
            kind == SORT_AS_NUMBER ? TColumnAlignment::Right : TColumnAlignment::Left);
  customs_.push_back({std::u16string(title), std::u16string(data), {columns_.back().id, kind}});
  columns_.back().tag = -static_cast<int>(customs_.size() - 1);
  return TStatus::Ok();
}

bool TColumnManager::DeleteCustomColumn(std::u16string_view title) {
  const size_t i = IndexOfCustom(title);
  if (i == npos) return false;
  const size_t column = IndexOfId(customs_[i].wrapper.columnitem);
  if (column != npos) RemoveColumn(column);
  customs_.erase(customs_.begin() + static_cast<std::ptrdiff_t>(i));
  RenumberCustomTags();
  return true;
}

// Tags point into the custom list; after a deletion the later entries moved
// up, so their columns' tags follow them.
void TColumnManager::RenumberCustomTags() {
  std::unordered_map<int, int> positionOfId;
  for (size_t i = 0; i < customs_.size(); ++i) {
    positionOfId.emplace(customs_[i].wrapper.columnitem, static_cast<int>(i));
  }
  for (TListColumn& column : columns_) {
    const auto it = positionOfId.find(column.id);
    if (it != positionOfId.end()) column.tag = -it->second;
  }
}

const TCustomColumn* TColumnManager::CustomOfColumn(size_t index) const {
  if (index >= columns_.size() || columns_[index].kind != COL_TYPE_CUSTOM) return nullptr;
  const size_t i = static_cast<size_t>(-columns_[index].tag);
  return i < customs_.size() ? &customs_[i] : nullptr;
}
