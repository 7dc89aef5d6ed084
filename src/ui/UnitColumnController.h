// The file list's columns in the window: the column model of the core laid
// onto the table's header (order, widths, the optional columns hidden or
// shown, the sizing modes), the custom columns' values and sort kinds for
// the list model, the column-header menu and View > Custom Columns.
// Visibility is kept in "columns.dat", the definitions in
// "customcolumns.ini", both written when they change.
#pragma once

#include <QObject>
#include <QTimer>
#include <string>

#include "config/UnitColumnManager.h"
#include "config/UnitColumnVisibility.h"
#include "ui/UnitCustomCells.h"
#include "ui/UnitCustomColumnDialog.h"
#include "ui/UnitWindowParts.h"

class QMenu;
class QTableView;
class TFileListModel;

class TColumnController : public QObject, public TCustomCells {
  Q_OBJECT

 public:
  explicit TColumnController(const TWindowParts& window);

  // Reads the definitions and the visibility and lays out the header.
  void Load();
  // Adds or replaces the definition, saves the definitions and previews so
  // the new column shows its values.
  void SaveColumn(const TCustomColumnDraft& draft);
  void DeleteColumn(const std::u16string& title);
  // Opens "Filelist Custom Column" on `draft`; saves the column on "Save Column".
  void EditColumn(const TCustomColumnDraft& draft);
  void SetVisible(TColumnType kind, bool shown);
  // 0 "Auto Width", 1 "Fit Screen", 3 "User Width".
  void ChooseSizing(int mode);

  const TColumnManager& Columns() const { return columns_; }
  QMenu& CustomColumnsMenu() { return *customMenu_; }
  QMenu& HeaderMenu() { return *headerMenu_; }

  int Count() const override { return static_cast<int>(columns_.CustomCount()); }
  QVariant Header(int custom) const override;
  QVariant Cell(const TFileListData& entry, int custom, int role) const override;
  TSortOrder SortOrderOf(int custom) const override;

 protected:
  // A resize of the list lays the columns out again a second after the last one.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  int LogicalSection(size_t column) const;
  void Changed();
  void LayOut();
  void MeasureAutoWidths();
  void RebuildMenus();
  bool Shown(TColumnType kind) const;
  // The order and widths the user gave the header, into the column model
  // and the settings (saved with them at close).
  void TakeUserLayout();
  void ReportStatus(const TStatus& status);

  TWindowParts window_;
  QTableView& view_;
  TFileListModel& model_;
  TColumnManager columns_;
  TColumnVisibility visibility_;
  QMenu* customMenu_ = nullptr;
  QMenu* deleteMenu_ = nullptr;
  QTimer layoutTimer_;
  QTimer resizeTimer_;
  QObject* viewport_ = nullptr;  // the list's, whose resizes lay out again
  bool layingOut_ = false;
  QMenu* headerMenu_ = nullptr;
};

// Sets up the columns of the window's list and its menus (the hook the main
// window calls once its session is open).
TColumnController& InstallColumnController(const TWindowParts& window);
