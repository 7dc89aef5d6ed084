// "Filelist Custom Column": edits one custom column definition (title,
// template with meta variables, sort kind), with presets under "Examples".
#pragma once

#include <QDialog>
#include <functional>
#include <string>

class QComboBox;
class QLineEdit;
class QPushButton;

struct TCustomColumnDraft {
  std::u16string title;
  std::u16string data;
  int sortKind = 0;  // TCustomSortKind
};

class TFrmCustomColumns : public QDialog {
  Q_OBJECT

 public:
  // `insertVariable` opens the meta-variable picker for the template box.
  TFrmCustomColumns(const TCustomColumnDraft& draft, std::function<void(QLineEdit*)> insertVariable,
                    QWidget* parent = nullptr);
  TCustomColumnDraft Draft() const;

 private:
  QLineEdit* title_;
  QLineEdit* data_;
  QComboBox* type_;
  QPushButton* save_;
};
