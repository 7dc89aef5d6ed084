// Progress of the core's long work (scan, preview, rename) on the status bar:
// a progress bar, the sub-status text, pending events handled on the way so
// the window stays responsive, and a Cancel request from the window.
#pragma once

#include <QElapsedTimer>
#include <functional>

#include "platform/UnitProgress.h"

class QLabel;
class QProgressBar;

class TWindowProgress : public TProgress {
 public:
  TWindowProgress(QProgressBar& bar, QLabel& message);

  void Started(std::u16string_view what, int total) override;
  void Advanced(int done) override;
  void Message(std::u16string_view text) override;
  void Finished() override;
  bool Cancelled() const override { return cancelled_; }

  // Asked by the window (Escape, a second "Recursive Scan"): the core stops
  // at its next entry.
  void Cancel() { cancelled_ = true; }
  void Reset() { cancelled_ = false; }
  // Runs before every turn of the event loop the progress lets through
  // (null: nothing), e.g. to show the rows a scan has added.
  void SetBeforeEvents(std::function<void()> hook) { beforeEvents_ = std::move(hook); }

 private:
  // Lets the window draw and take input, at most every 50 ms.
  void KeepResponsive();

  QProgressBar& bar_;
  QLabel& message_;
  QElapsedTimer sinceEvents_;
  bool cancelled_ = false;
  std::function<void()> beforeEvents_;
};
