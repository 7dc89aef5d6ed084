// The file list as a virtual table over the core's list: no widget or item
// per row, every cell asked of TFrmDummyShowPreview when it is drawn. Check
// boxes, the colours of entries to be renamed, colliding and illegal, names
// with outer blanks underlined, and sorting by a header click.
#pragma once

#include <QAbstractTableModel>
#include <functional>
#include <QColor>

class TCustomCells;
class TFrmDummyShowPreview;

// The colours the list draws new names in.
struct TListColours {
  QColor toBeRenamed{0, 128, 0};
  QColor unchanged{128, 128, 128};
  QColor collision{200, 0, 0};
  QColor illegal{0, 0, 255};
};

class TFileListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum TColumn { kName, kNewName, kSize, kType, kModified, kCreated, kColumnCount };

  // REQUIRES: `list` outlives the model.
  explicit TFileListModel(TFrmDummyShowPreview& list, QObject* parent = nullptr);

  void SetColours(const TListColours& colours) { colours_ = colours; }
  const TListColours& Colours() const { return colours_; }
  // The columns after the standard ones (null: none); must outlive the model.
  void SetCustomCells(const TCustomCells* cells) { custom_ = cells; }
  // True while the window runs long work over the list (a scan, a preview,
  // a rename): header sorts and dropped rows are refused then.
  void SetBusyCheck(std::function<bool()> busy) { busy_ = std::move(busy); }
  // After the list was read again (every row may have changed).
  void Reload();
  // After a preview: the new names, flags and checks changed.
  void Refreshed();
  // While the list grows (a scan), the model shows the rows it was told of:
  // ShowGrownRows announces the rows appended since (an insertion at the end;
  // a reset when the list was emptied meanwhile), so the view never sees a
  // row count the model did not announce. EndGrowing shows the rest and
  // follows the list again.
  void BeginGrowing();
  void ShowGrownRows();
  void EndGrowing();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  void sort(int column, Qt::SortOrder order) override;
  // Rows dragged inside the list: their numbers travel as kRowsMimeType and
  // the drop moves them, in their order, before the row dropped on.
  static constexpr const char* kRowsMimeType = "application/x-tallowick-rows";
  Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }
  QStringList mimeTypes() const override;
  QMimeData* mimeData(const QModelIndexList& indexes) const override;
  bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                       const QModelIndex& parent) const override;
  bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                    const QModelIndex& parent) override;
  // The list is in the user's order: no column caption carries the marker.
  void ClearSortMarker();

 signals:
  // A check box was clicked.
  void CheckChanged();
  // The name cell was edited to `newName` (Quick Edit).
  void NameEdited(int row, const QString& newName);
  // Dragged rows were dropped: the list is in the user's order, and the moved
  // entries are the selected ones of the core's list.
  void RowsDropped();

 private:
  QVariant Foreground(int row, int column) const;

  TFrmDummyShowPreview& list_;
  TListColours colours_;
  bool growing_ = false;
  std::function<bool()> busy_;
  bool Busy() const;
  int shownRows_ = 0;  // the rows announced while growing
  const TCustomCells* custom_ = nullptr;
  // The column the list is sorted by (-1: none) and its direction; its
  // caption starts with "[+] " ascending or "[-] " descending.
  int sortSection_ = kName;
  bool sortDescending_ = false;
};
