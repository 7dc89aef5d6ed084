// Quick Edit: the editor of a row's name cell. While it is open the status
// line shows how to move it; Up and Down carry the typed name out and open
// the editor on the row above or below. The name itself is renamed by the
// model's NameEdited signal.
#pragma once

#include <QStyledItemDelegate>
#include <set>

class QAbstractItemView;
class QStatusBar;

class TQuickEditDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  // REQUIRES: `view` and `hints` outlive the delegate.
  TQuickEditDelegate(QAbstractItemView& view, QStatusBar& hints);

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;

 protected:
  bool eventFilter(QObject* object, QEvent* event) override;

 private:
  // Ends the edit of `editor` with its text and edits the name `step` rows away.
  void MoveEditor(QWidget* editor, int step);
  // The hint stays while an editor is open; one ends when it is closed or,
  // closed by the view itself, destroyed.
  void EditorGone(const QObject* editor) const;

  QAbstractItemView& view_;
  QStatusBar& hints_;
  mutable std::set<const QObject*> openEditors_;
};

// Gives the name column of `view` the Quick Edit editor.
void InstallQuickEdit(QAbstractItemView& view, int nameColumn, QStatusBar& hints);
