// The folder-browser pane: a tree of the folders of the disk beside the file
// list. Clicking a folder opens it; the folder shown by other means is
// selected in the tree. Its visibility and width are remembered in the
// settings and applied at start.
#pragma once

#include <QTreeView>

class QFileSystemModel;
class QMenuBar;
class TfrmConfig;

class TFolderTreePane : public QTreeView {
  Q_OBJECT

 public:
  // REQUIRES: `parent` is the splitter the pane stands in.
  explicit TFolderTreePane(QWidget* parent);

  // Applies the remembered width and visibility, and adds the checkable
  // "Browser Pane" item to the menu titled "&View" of `bar`.
  void Start(const TfrmConfig& config, QMenuBar& bar);
  // Shows the pane or hides it, keeping its width for the next show.
  void SetShown(bool shown);
  // Selects `folder` in the tree, unfolding the folders above it.
  void ShowFolder(const QString& folder);
  // Hands the pane's width (its current one when shown) and visibility to
  // the settings for the end of the program.
  void Remember(TfrmConfig& config) const;
  int PaneWidth() const;

 signals:
  void FolderChosen(const QString& folder);

 private:
  void SetPaneWidth(int width);

  QFileSystemModel* folders_;
  QAction* toggle_ = nullptr;
  int width_ = 200;  // the width for the next show
  bool widthPending_ = false;  // shown, its width not yet applied
};
