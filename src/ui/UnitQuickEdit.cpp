#include "ui/UnitQuickEdit.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStatusBar>
#include <QTimer>

#include "rename/UnitRenameInPlace.h"
#include "ui/UnitQtText.h"

TQuickEditDelegate::TQuickEditDelegate(QAbstractItemView& view, QStatusBar& hints)
    : QStyledItemDelegate(&view), view_(view), hints_(hints) {
  connect(this, &QAbstractItemDelegate::closeEditor, this,
          [this](QWidget* editor) { EditorGone(editor); });
}

QWidget* TQuickEditDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                          const QModelIndex& index) const {
  QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
  editor->setObjectName(QStringLiteral("quickEdit"));
  openEditors_.insert(editor);
  connect(editor, &QObject::destroyed, this, [this](QObject* gone) { EditorGone(gone); });
  hints_.showMessage(ToQt(kRenameInPlaceHint));
  return editor;
}

void TQuickEditDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  QStyledItemDelegate::setEditorData(editor, index);
  auto* line = qobject_cast<QLineEdit*>(editor);
  if (line == nullptr) return;
  // The name without its extension is what one usually retypes.
  const QString name = line->text();
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  const qsizetype slash = name.lastIndexOf(QLatin1Char('/'));
  if (dot > slash + 1) line->setSelection(0, dot);
  else line->selectAll();
}

void TQuickEditDelegate::EditorGone(const QObject* editor) const {
  if (openEditors_.erase(editor) != 0 && openEditors_.empty()) hints_.clearMessage();
}

bool TQuickEditDelegate::eventFilter(QObject* object, QEvent* event) {
  auto* editor = qobject_cast<QWidget*>(object);
  if (editor != nullptr && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      MoveEditor(editor, key == Qt::Key_Up ? -1 : 1);
      return true;
    }
  }
  return QStyledItemDelegate::eventFilter(object, event);
}

void TQuickEditDelegate::MoveEditor(QWidget* editor, int step) {
  const QModelIndex current = view_.currentIndex();
  emit commitData(editor);
  emit closeEditor(editor, QAbstractItemDelegate::NoHint);
  if (!current.isValid()) return;
  const QModelIndex next = current.sibling(current.row() + step, current.column());
  if (!next.isValid()) return;
  // After the closed editor is gone, so that the view takes a new edit.
  QTimer::singleShot(0, &view_, [view = &view_, next = QPersistentModelIndex(next)] {
    if (!next.isValid()) return;
    view->setCurrentIndex(next);
    view->edit(next);
  });
}

void InstallQuickEdit(QAbstractItemView& view, int nameColumn, QStatusBar& hints) {
  view.setItemDelegateForColumn(nameColumn, new TQuickEditDelegate(view, hints));
}
