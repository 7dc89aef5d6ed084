#include "ui/UnitFileListModel.h"

#include <QDataStream>
#include <QFont>
#include <QIODevice>
#include <QMimeData>

#include "filelist/UnitFileList.h"
#include "filelist/UnitFileListSort.h"
#include "ui/UnitCustomCells.h"
#include "ui/UnitQtText.h"

namespace {

bool HasOuterBlanks(const std::u16string& name) {
  return !name.empty() && (name.front() == u' ' || name.back() == u' ');
}

}  // namespace

TFileListModel::TFileListModel(TFrmDummyShowPreview& list, QObject* parent)
    : QAbstractTableModel(parent), list_(list) {}

void TFileListModel::Reload() {
  beginResetModel();
  endResetModel();
}

void TFileListModel::BeginGrowing() {
  shownRows_ = rowCount();
  growing_ = true;
}

void TFileListModel::ShowGrownRows() {
  if (!growing_) return;
  const int count = list_.Count();
  if (count < shownRows_) {
    beginResetModel();
    shownRows_ = count;
    endResetModel();
  } else if (count > shownRows_) {
    beginInsertRows({}, shownRows_, count - 1);
    shownRows_ = count;
    endInsertRows();
  }
}

void TFileListModel::EndGrowing() {
  ShowGrownRows();
  growing_ = false;
}

void TFileListModel::Refreshed() {
  if (rowCount() == 0) return;
  emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

int TFileListModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return growing_ ? shownRows_ : list_.Count();
}

int TFileListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount + (custom_ != nullptr ? custom_->Count() : 0);
}

QVariant TFileListModel::Foreground(int row, int column) const {
  if (column != kNewName) return {};
  const TTagData* tag = list_.GetTagData(row);
  if (tag == nullptr) return {};
  if (tag->IsIllegalNewname) return colours_.illegal;
  if (tag->IsCollision) return colours_.collision;
  return tag->changed ? colours_.toBeRenamed : colours_.unchanged;
}

QVariant TFileListModel::data(const QModelIndex& index, int role) const {
  const TFileListData* entry = list_.GetFileData(index.row());
  if (entry == nullptr) return {};
  const int column = index.column();
  if (column >= kColumnCount) {
    return custom_ != nullptr ? custom_->Cell(*entry, column - kColumnCount, role) : QVariant();
  }
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
      return ToQt(entry->ColumnText(column));
    case Qt::CheckStateRole:
      if (column != kName) return {};
      return entry->Checked() ? Qt::Checked : Qt::Unchecked;
    case Qt::ForegroundRole:
      return Foreground(index.row(), column);
    case Qt::FontRole: {
      const std::u16string& name = column == kName ? entry->caption : entry->GetNewName();
      if ((column != kName && column != kNewName) || !HasOuterBlanks(name)) return {};
      QFont font;
      font.setUnderline(true);
      return font;
    }
    case Qt::TextAlignmentRole:
      if (column == kSize) return int(Qt::AlignRight | Qt::AlignVCenter);
      return {};
    default:
      return {};
  }
}

QVariant TFileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  static const char* const kCaptions[] = {"Name", "New Name", "Size", "Type", "Date Modified",
                                          "Date Created"};
  QVariant caption;
  if (section >= kColumnCount && custom_ != nullptr) {
    caption = custom_->Header(section - kColumnCount);
  } else if (section >= 0 && section < kColumnCount) {
    caption = QString::fromLatin1(kCaptions[section]);
  }
  if (section != sortSection_ || !caption.isValid()) return caption;
  return QString::fromLatin1(sortDescending_ ? "[-] " : "[+] ") + caption.toString();
}

Qt::ItemFlags TFileListModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags flags = QAbstractTableModel::flags(index);
  if (!index.isValid()) return flags | Qt::ItemIsDropEnabled;
  if (index.column() == kName) flags |= Qt::ItemIsUserCheckable | Qt::ItemIsEditable;
  return flags | Qt::ItemIsDragEnabled;
}

bool TFileListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (index.column() != kName) return false;
  if (role == Qt::CheckStateRole) {
    list_.SetChecked(index.row(), value.toInt() == Qt::Checked);
    emit dataChanged(index, index.siblingAtColumn(kColumnCount - 1));
    emit CheckChanged();
    return true;
  }
  if (role == Qt::EditRole) {
    const QString name = value.toString();
    if (name.isEmpty() || name == ToQt(list_.GetFileData(index.row())->caption)) return false;
    emit NameEdited(index.row(), name);
    return true;
  }
  return false;
}

void TFileListModel::sort(int column, Qt::SortOrder order) {
  // Not while a refresh or a preview works on the list (a click on a header
  // while the window lets events through).
  if (Busy()) return;
  beginResetModel();
  static constexpr TSortKind kKinds[] = {TSortKind::Name, TSortKind::NewName,
                                         TSortKind::Size, TSortKind::Type,
                                         TSortKind::DateModified, TSortKind::DateCreated};
  TSortOrder sortOrder = list_.GetSortOrder();
  sortOrder.kind = column >= 0 && column < kColumnCount ? kKinds[column] : TSortKind::Name;
  if (column >= kColumnCount && custom_ != nullptr) {
    sortOrder = custom_->SortOrderOf(column - kColumnCount);
  }
  sortOrder.descending = order == Qt::DescendingOrder;
  list_.SetSortOrder(sortOrder);
  list_.SortData();
  sortSection_ = column;
  sortDescending_ = sortOrder.descending;
  endResetModel();
  emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

void TFileListModel::ClearSortMarker() {
  sortSection_ = -1;
  emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

QStringList TFileListModel::mimeTypes() const { return {QString::fromLatin1(kRowsMimeType)}; }

QMimeData* TFileListModel::mimeData(const QModelIndexList& indexes) const {
  QList<int> rows;
  for (const QModelIndex& index : indexes) {
    if (index.isValid() && !rows.contains(index.row())) rows << index.row();
  }
  QByteArray bytes;
  QDataStream stream(&bytes, QIODevice::WriteOnly);
  stream << rows;
  auto* data = new QMimeData;
  data->setData(QString::fromLatin1(kRowsMimeType), bytes);
  return data;
}

bool TFileListModel::canDropMimeData(const QMimeData* data, Qt::DropAction action, int, int,
                                     const QModelIndex&) const {
  return !Busy() && data != nullptr && action == Qt::MoveAction &&
         data->hasFormat(QString::fromLatin1(kRowsMimeType));
}

bool TFileListModel::Busy() const {
  return list_.GetIgnoreInterface() || growing_ || (busy_ && busy_());
}

bool TFileListModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                                  const QModelIndex& parent) {
  if (!canDropMimeData(data, action, row, column, parent)) return false;
  QList<int> rows;
  QDataStream stream(data->data(QString::fromLatin1(kRowsMimeType)));
  stream >> rows;
  list_.ClearAllSelected();
  for (int dragged : rows) {
    if (dragged >= 0 && dragged < list_.Count()) list_.SetSelected(dragged);
  }
  if (list_.SelectedCount() == 0) return false;
  // Dropped on a row: before it; between rows or below the last: at `row`.
  const int before = row >= 0 ? row : (parent.isValid() ? parent.row() : list_.Count());
  beginResetModel();
  list_.MoveSelectedTo(before);
  endResetModel();
  emit RowsDropped();
  return true;
}
