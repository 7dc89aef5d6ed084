// "File Tags": every tag the metadata readers find in one file, by family,
// with its name and value.
#pragma once

#include <QDialog>
#include <string>

class QTreeWidget;
class TTagReader;

class TFrmFileTags : public QDialog {
  Q_OBJECT

 public:
  TFrmFileTags(TTagReader& tags, const std::u16string& file, QWidget* parent = nullptr);
  // Family, name and value of each tag found, one row each.
  QTreeWidget& Tags() { return *tags_; }

 private:
  QTreeWidget* tags_;
};
