#include "ui/UnitFolderTreePane.h"

#include <QFileSystemModel>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QTimer>

#include "config/UnitConfig.h"
#include "config/UnitStartupState.h"

TFolderTreePane::TFolderTreePane(QWidget* parent)
    : QTreeView(parent), folders_(new QFileSystemModel(this)) {
  setObjectName(QStringLiteral("folderTree"));
  folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
  folders_->setRootPath(QStringLiteral("/"));
  setModel(folders_);
  for (int column = 1; column < folders_->columnCount(); ++column) hideColumn(column);
  header()->hide();
  setRootIndex(folders_->index(QStringLiteral("/")).parent());
  connect(this, &QTreeView::clicked, this, [this](const QModelIndex& index) {
    if (index.isValid()) emit FolderChosen(folders_->filePath(index));
  });
  hide();
}

void TFolderTreePane::Start(const TfrmConfig& config, QMenuBar& bar) {
  width_ = BrowsePaneStartWidth(config);
  for (QAction* menu : bar.actions()) {
    if (menu->menu() == nullptr || menu->text() != QStringLiteral("&View")) continue;
    toggle_ = menu->menu()->addAction(tr("Browser Pane"));
    toggle_->setObjectName(QStringLiteral("mnuBrowserPane"));
    toggle_->setCheckable(true);
    connect(toggle_, &QAction::toggled, this, &TFolderTreePane::SetShown);
  }
  SetShown(BrowsePaneStartVisible(config));
}

void TFolderTreePane::SetShown(bool shown) {
  if (toggle_ != nullptr && toggle_->isChecked() != shown) toggle_->setChecked(shown);
  if (shown == !isHidden()) return;
  if (!shown) {
    width_ = PaneWidth();
    hide();
    return;
  }
  show();
  // The splitter lays a newly shown part out later; the width follows that.
  widthPending_ = true;
  QTimer::singleShot(0, this, [this] {
    widthPending_ = false;
    if (isHidden()) return;
    SetPaneWidth(width_);
    if (currentIndex().isValid()) scrollTo(currentIndex());
  });
}

int TFolderTreePane::PaneWidth() const {
  if (isHidden() || widthPending_) return width_;
  auto* splitter = qobject_cast<QSplitter*>(parentWidget());
  const int at = splitter != nullptr ? splitter->indexOf(const_cast<TFolderTreePane*>(this)) : -1;
  return at >= 0 ? splitter->sizes().value(at, width()) : width();
}

void TFolderTreePane::SetPaneWidth(int width) {
  auto* splitter = qobject_cast<QSplitter*>(parentWidget());
  if (splitter == nullptr) return;
  QList<int> sizes = splitter->sizes();
  const int at = splitter->indexOf(this);
  if (at < 0 || sizes.size() < 2) return;
  // The width comes from the widest other part, so the rest keeps its shape.
  int widest = at == 0 ? 1 : 0;
  for (int i = 0; i < sizes.size(); ++i) {
    if (i != at && sizes[i] > sizes[widest]) widest = i;
  }
  sizes[widest] = std::max(0, sizes[widest] + sizes[at] - width);
  sizes[at] = width;
  splitter->setSizes(sizes);
}

void TFolderTreePane::ShowFolder(const QString& folder) {
  const QModelIndex index = folders_->index(folder);
  if (!index.isValid()) return;
  for (QModelIndex up = index.parent(); up.isValid(); up = up.parent()) expand(up);
  setCurrentIndex(index);
  if (!isHidden()) scrollTo(index);
}

void TFolderTreePane::Remember(TfrmConfig& config) const {
  config.SetLastBrowsePaneWidth(PaneWidth());
  config.SetLastBrowsePaneVisible(!isHidden());
}
