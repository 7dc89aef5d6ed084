#include "ui/UnitWindowProgress.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>

#include "ui/UnitQtText.h"

TWindowProgress::TWindowProgress(QProgressBar& bar, QLabel& message) : bar_(bar), message_(message) {
  sinceEvents_.start();
}

void TWindowProgress::Started(std::u16string_view what, int total) {
  bar_.setRange(0, total > 0 ? total : 0);
  bar_.setValue(0);
  bar_.setFormat(ToQt(what) + QStringLiteral(" %v"));
  bar_.show();
  KeepResponsive();
}

void TWindowProgress::Advanced(int done) {
  if (bar_.maximum() > 0 && done > bar_.maximum()) bar_.setMaximum(done);
  bar_.setValue(done);
  KeepResponsive();
}

void TWindowProgress::Message(std::u16string_view text) {
  message_.setText(ToQt(text));
  KeepResponsive();
}

void TWindowProgress::Finished() { bar_.hide(); }

void TWindowProgress::KeepResponsive() {
  if (sinceEvents_.elapsed() < 50) return;
  sinceEvents_.restart();
  if (beforeEvents_) beforeEvents_();
  QApplication::processEvents();
}
