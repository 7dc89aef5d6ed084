#include "ui/UnitFileTagsWindow.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "metadata/UnitTagReader.h"
#include "ui/UnitQtText.h"

TFrmFileTags::TFrmFileTags(TTagReader& tags, const std::u16string& file, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("frmFileTags"));
  setWindowTitle(tr("File Tags"));
  tags_ = new QTreeWidget(this);
  tags_->setObjectName(QStringLiteral("lstTags"));
  tags_->setHeaderLabels({tr("Family"), tr("Tag"), tr("Value")});
  tags_->setRootIsDecorated(false);
  tags_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
  auto* problems = new QLabel(this);
  problems->setObjectName(QStringLiteral("lblProblems"));
  problems->setWordWrap(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(file.empty() ? tr("(no file selected)") : ToQt(file), this));
  layout->addWidget(tags_, 1);
  layout->addWidget(problems);
  resize(640, 420);
  if (file.empty()) return;

  QStringList messages;
  TTagList list;
  const auto show = [&](const QString& family, const TStatus& status) {
    if (!status.ok()) messages << ToQt(status.Message());
    for (const auto& [name, value] : list.Entries()) {
      tags_->addTopLevelItem(new QTreeWidgetItem({family, ToQt(name), ToQt(value)}));
    }
  };
  show(QStringLiteral("MP3"), tags.ReadMp3(file, true, list));
  show(QStringLiteral("JPEG"), tags.ReadJpeg(file, list));
  show(QStringLiteral("video"), tags.ReadVideo(file, list));
  messages.removeDuplicates();
  problems->setText(messages.join(QLatin1Char('\n')));
  if (tags_->topLevelItemCount() == 0 && messages.isEmpty()) problems->setText(tr("No tags found."));
}
