#include "ui/UnitColumnController.h"

#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTableView>
#include <algorithm>

#include "config/UnitColumnSizing.h"
#include "config/UnitCustomColumnsFile.h"
#include "filelist/UnitFileList.h"
#include "session/UnitSession.h"
#include "ui/UnitDesktopTools.h"
#include "ui/UnitFileListModel.h"
#include "cli/UnitApplication.h"
#include <QMainWindow>
#include "ui/UnitQtText.h"

namespace {

struct TOptionalColumn {
  const char* caption;
  TColumnType kind;
  bool TColumnVisibility::*shown;
};
constexpr TOptionalColumn kOptionalColumns[] = {
    {"Size", COL_TYPE_SIZE, &TColumnVisibility::size},
    {"Type", COL_TYPE_TYPE, &TColumnVisibility::type},
    {"Date Modified", COL_TYPE_DATE, &TColumnVisibility::dateModified},
    {"Date Created", COL_TYPE_DATECREATED, &TColumnVisibility::dateCreated},
};

struct TSizingItem {
  const char* caption;
  int mode;
};
constexpr TSizingItem kSizingItems[] = {
    {"Auto Width", SIZE_AUTO_WIDTH}, {"Fit Screen", SIZE_FIT_SCREEN},
    {"User Width", SIZE_USER_WIDTH}};

bool IsOptional(TColumnType kind) {
  return kind == COL_TYPE_SIZE || kind == COL_TYPE_TYPE || kind == COL_TYPE_DATE ||
         kind == COL_TYPE_DATECREATED;
}

TSession& SessionOf(const TWindowParts& window) { return window.app.session; }

}  // namespace

TColumnController::TColumnController(const TWindowParts& window)
    : QObject(&window.window), window_(window), view_(window.list), model_(window.model) {
  customMenu_ = new QMenu(tr("Custom Columns"), &window.window);
  deleteMenu_ = new QMenu(tr("Delete"), customMenu_);
  deleteMenu_->setObjectName(QStringLiteral("mnuDeleteCustomColumn"));
  headerMenu_ = new QMenu(&window.window);
  // Automatic widths follow the rows shown: lay out once after each change
  // of the list, however many cells changed.
  layoutTimer_.setSingleShot(true);
  layoutTimer_.setInterval(0);
  connect(&layoutTimer_, &QTimer::timeout, this, &TColumnController::LayOut);
  connect(&model_, &QAbstractItemModel::modelReset, &layoutTimer_, qOverload<>(&QTimer::start));
  connect(&model_, &QAbstractItemModel::dataChanged, &layoutTimer_, qOverload<>(&QTimer::start));
  resizeTimer_.setSingleShot(true);
  resizeTimer_.setInterval(1000);
  connect(&resizeTimer_, &QTimer::timeout, this, &TColumnController::LayOut);
  viewport_ = view_.viewport();
  viewport_->installEventFilter(this);
  QHeaderView* header = view_.horizontalHeader();
  connect(header, &QHeaderView::sectionResized, this, &TColumnController::TakeUserLayout);
  connect(header, &QHeaderView::sectionMoved, this, &TColumnController::TakeUserLayout);
  header->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(header, &QWidget::customContextMenuRequested, this, [this, header](const QPoint& at) {
    RebuildMenus();
    headerMenu_->exec(header->mapToGlobal(at));
  });
}

bool TColumnController::eventFilter(QObject* watched, QEvent* event) {
  // Compares with the viewport kept at the start: the view may be half torn
  // down when its viewport's last events arrive.
  if (watched == viewport_ && event->type() == QEvent::Resize) resizeTimer_.start();
  return QObject::eventFilter(watched, event);
}

void TColumnController::Load() {
  TSession& session = SessionOf(window_);
  TStatus status = LoadCustomColumns(session.fs, session.appFolder, columns_);
  const TStatus shown = LoadColumnVisibility(session.fs, session.appFolder, visibility_);
  if (status.ok()) status = shown;
  if (window_.app.config.Integer(TSetting::ColumnResizeType) == SIZE_USER_WIDTH) {
    window_.app.config.GetLastColumnsSizes(columns_);
  }
  Changed();
  ReportStatus(status);
}

void TColumnController::SaveColumn(const TCustomColumnDraft& draft) {
  if (draft.title.empty()) return;
  TStatus status = columns_.AddOrReplaceCustomColumn(draft.title, draft.data, draft.sortKind);
  if (status.ok()) {
    TSession& session = SessionOf(window_);
    status = SaveCustomColumns(session.fs, session.appFolder, columns_);
  }
  Changed();
  ReportStatus(status);
}

void TColumnController::DeleteColumn(const std::u16string& title) {
  if (!columns_.DeleteCustomColumn(title)) return;
  TSession& session = SessionOf(window_);
  const TStatus status = SaveCustomColumns(session.fs, session.appFolder, columns_);
  Changed();
  ReportStatus(status);
}

void TColumnController::EditColumn(const TCustomColumnDraft& draft) {
  TFrmCustomColumns dialog(
      draft,
      [this](QLineEdit* edit) {
        OpenMetaVariablePicker(window_, TInsertAction::PickerMain, edit);
      },
      &window_.window);
  if (dialog.exec() == QDialog::Accepted) SaveColumn(dialog.Draft());
}

void TColumnController::SetVisible(TColumnType kind, bool shown) {
  for (const TOptionalColumn& column : kOptionalColumns) {
    if (column.kind == kind) visibility_.*column.shown = shown;
  }
  TSession& session = SessionOf(window_);
  ReportStatus(SaveColumnVisibility(session.fs, session.appFolder, visibility_));
  LayOut();
}

void TColumnController::ChooseSizing(int mode) {
  MeasureAutoWidths();
  (void)ChooseColumnSizingMode(window_.app.config, columns_, visibility_,
                               static_cast<TColumnSizingMode>(mode), view_.viewport()->width());
  LayOut();
}

QVariant TColumnController::Header(int custom) const {
  if (custom < 0 || custom >= Count()) return {};
  return ToQt(columns_.Custom(static_cast<size_t>(custom)).title);
}

QVariant TColumnController::Cell(const TFileListData& entry, int custom, int role) const {
  if (custom < 0 || custom >= Count()) return {};
  if (role == Qt::DisplayRole) return ToQt(entry.GetCustomValue(static_cast<size_t>(custom)));
  const bool number =
      columns_.Custom(static_cast<size_t>(custom)).wrapper.columnType == SORT_AS_NUMBER;
  if (role == Qt::TextAlignmentRole && number) return int(Qt::AlignRight | Qt::AlignVCenter);
  return {};
}

TSortOrder TColumnController::SortOrderOf(int custom) const {
  TSortOrder order;
  if (custom < 0 || custom >= Count()) return order;
  const int kind = columns_.Custom(static_cast<size_t>(custom)).wrapper.columnType;
  order.kind = kind == SORT_AS_NUMBER ? TSortKind::CustomNumber
               : kind == SORT_AS_DATE ? TSortKind::CustomDate
                                      : TSortKind::CustomText;
  order.customIndex = static_cast<size_t>(custom);
  return order;
}

int TColumnController::LogicalSection(size_t column) const {
  const TListColumn& c = columns_.Column(column);
  if (c.kind != COL_TYPE_CUSTOM) return static_cast<int>(c.kind);
  return TFileListModel::kColumnCount - c.tag;
}

void TColumnController::Changed() {
  TSession& session = SessionOf(window_);
  session.customColumns.clear();
  for (size_t i = 0; i < columns_.CustomCount(); ++i) {
    session.customColumns.push_back(columns_.Custom(i).data);
  }
  model_.Reload();
  LayOut();
  RebuildMenus();
  if (session.list.Count() > 0) window_.preview();
}

void TColumnController::MeasureAutoWidths() {
  const QHeaderView* header = view_.horizontalHeader();
  // The table measures only the rows it shows, so a million rows cost nothing.
  const QAbstractItemView& view = view_;
  for (size_t i = 0; i < columns_.Count(); ++i) {
    const int logical = LogicalSection(i);
    const int width = std::max(view.sizeHintForColumn(logical), header->sectionSizeHint(logical));
    columns_.SetAutoWidth(columns_.RegistryPosition(i), width);
  }
}

void TColumnController::LayOut() {
  MeasureAutoWidths();
  const int mode = window_.app.config.Integer(TSetting::ColumnResizeType);
  if (mode == SIZE_USER_WIDTH) {
    // The user's widths stay; a column shown again gets its automatic width.
    for (size_t i = 0; i < columns_.Count(); ++i) {
      if (columns_.Column(i).width <= 0) {
        columns_.SetWidth(i, columns_.AutoWidth(columns_.RegistryPosition(i)));
      }
    }
  } else {
    ApplySizingMode(mode, columns_, visibility_, view_.viewport()->width());
  }
  layingOut_ = true;
  QHeaderView* header = view_.horizontalHeader();
  for (size_t i = 0; i < columns_.Count(); ++i) {
    const int logical = LogicalSection(i);
    if (logical >= model_.columnCount()) continue;
    header->moveSection(header->visualIndex(logical), static_cast<int>(i));
    const int width = columns_.Column(i).width;
    const bool hidden = IsOptional(columns_.KindOf(i)) && (width <= 0 || !Shown(columns_.KindOf(i)));
    header->setSectionHidden(logical, hidden);
    if (!hidden) header->resizeSection(logical, std::max(width, header->minimumSectionSize()));
  }
  layingOut_ = false;
  window_.app.config.SetLastColumnsSizes(columns_);
}

bool TColumnController::Shown(TColumnType kind) const {
  for (const TOptionalColumn& column : kOptionalColumns) {
    if (column.kind == kind) return visibility_.*column.shown;
  }
  return true;
}

void TColumnController::TakeUserLayout() {
  if (layingOut_) return;
  const QHeaderView* header = view_.horizontalHeader();
  for (int visual = 0; visual < header->count(); ++visual) {
    const int logical = header->logicalIndex(visual);
    for (size_t i = 0; i < columns_.Count(); ++i) {
      if (LogicalSection(i) != logical) continue;
      columns_.MoveColumn(i, static_cast<size_t>(visual));
      break;
    }
  }
  for (size_t i = 0; i < columns_.Count(); ++i) {
    const int logical = LogicalSection(i);
    columns_.SetWidth(i, header->isSectionHidden(logical) ? 0 : header->sectionSize(logical));
  }
  window_.app.config.SetLastColumnsSizes(columns_);
}

void TColumnController::RebuildMenus() {
  customMenu_->clear();
  customMenu_->addAction(tr("New Column ..."), this, [this] { EditColumn({}); });
  customMenu_->addSeparator();
  QMenu* remove = deleteMenu_;
  remove->clear();
  customMenu_->addMenu(remove);
  for (size_t i = 0; i < columns_.CustomCount(); ++i) {
    const TCustomColumn& custom = columns_.Custom(i);
    const TCustomColumnDraft draft{custom.title, custom.data, custom.wrapper.columnType};
    auto* edit = new QAction(ToQt(custom.title), customMenu_);
    customMenu_->insertAction(remove->menuAction(), edit);
    connect(edit, &QAction::triggered, this, [this, draft] { EditColumn(draft); });
    remove->addAction(ToQt(custom.title), this, [this, title = custom.title] {
      DeleteColumn(title);
    });
  }
  remove->setEnabled(columns_.CustomCount() > 0);

  headerMenu_->clear();
  for (const TOptionalColumn& column : kOptionalColumns) {
    QAction* item = headerMenu_->addAction(QString::fromLatin1(column.caption));
    item->setCheckable(true);
    item->setChecked(visibility_.*column.shown);
    connect(item, &QAction::toggled, this,
            [this, kind = column.kind](bool on) { SetVisible(kind, on); });
  }
  headerMenu_->addSeparator();
  const int mode = window_.app.config.Integer(TSetting::ColumnResizeType);
  for (const TSizingItem& sizing : kSizingItems) {
    QAction* item = headerMenu_->addAction(QString::fromLatin1(sizing.caption));
    item->setCheckable(true);
    item->setChecked(mode == sizing.mode);
    connect(item, &QAction::triggered, this, [this, m = sizing.mode] { ChooseSizing(m); });
  }
  headerMenu_->addSeparator();
  headerMenu_->addAction(tr("New Column ..."), this, [this] { EditColumn({}); });
}

void TColumnController::ReportStatus(const TStatus& status) {
  if (!status.ok()) window_.status.setText(ToQt(status.Message()));
}

TColumnController& InstallColumnController(const TWindowParts& window) {
  auto* controller = new TColumnController(window);
  window.model.SetCustomCells(controller);
  QMenuBar& bar = *window.window.menuBar();
  auto* viewMenu = new QMenu(QObject::tr("&View"), &window.window);
  viewMenu->addMenu(&controller->CustomColumnsMenu());
  const QList<QAction*> menus = bar.actions();
  bar.insertMenu(menus.size() >= 1 ? menus.back() : nullptr, viewMenu);
  controller->Load();
  return *controller;
}
