// How long core operations (scans, previews, renames) report their progress
// and learn that the user wants them to stop. The command line and the window
// each implement it; TNoProgress is for callers that do not watch.
#pragma once

#include <string_view>

class TProgress {
 public:
  virtual ~TProgress() = default;
  // An operation begins; `total` is -1 when the amount of work is unknown.
  virtual void Started(std::u16string_view what, int total) = 0;
  // `done` units of the work are finished.
  virtual void Advanced(int done) = 0;
  // A line of detail for the status bar.
  virtual void Message(std::u16string_view text) = 0;
  virtual void Finished() = 0;
  // Asked between units of work: true stops the operation early.
  virtual bool Cancelled() const { return false; }
};

class TNoProgress : public TProgress {
 public:
  void Started(std::u16string_view, int) override {}
  void Advanced(int) override {}
  void Message(std::u16string_view) override {}
  void Finished() override {}
};
