// The auto-preview trigger: each change restarts a 1100 ms countdown, and the
// preview runs once when a countdown ends. Time is passed in (milliseconds of
// any steady clock), so the window's timer only has to call Tick.
#pragma once

#include <cstdint>

class TFrmDummyAutoPreview {
 public:
  static constexpr int64_t kDelayMs = 1100;

  // Created disabled. Disabling also cancels a pending countdown.
  void SetEnabled(bool on);
  bool GetEnabled() const { return enabled_; }
  // The setting "Enable Auto-Preview mode" and whether the main window is
  // visible; both must be on for a change to start the countdown.
  void SetAutoPreviewOption(bool on) { optionOn_ = on; }
  void SetWindowVisible(bool visible) { windowVisible_ = visible; }

  // Something the preview shows changed at `nowMs`: the countdown stops and,
  // when the trigger may run, starts again.
  void InformOfKeypress(int64_t nowMs);
  // True once when the countdown has ended at `nowMs`: the countdown stops,
  // WasTriggered becomes true and the caller runs the preview.
  bool Tick(int64_t nowMs);
  // True when enabled: the pending countdown is dropped and the caller runs
  // the preview at once.
  bool ForceTriggerIfEnabled();
  void StopTimer() { pending_ = false; }

  bool Pending() const { return pending_; }
  // When the pending countdown ends (meaningful only while Pending()).
  int64_t DueAt() const { return dueAt_; }
  bool Due(int64_t nowMs) const { return pending_ && nowMs >= dueAt_; }
  // Whether a countdown has ended (or a forced run happened) since the last
  // ResetTriggered.
  bool WasTriggered() const { return triggered_; }
  void ResetTriggered() { triggered_ = false; }

 private:
  bool enabled_ = false;
  bool optionOn_ = true;
  bool windowVisible_ = true;
  bool pending_ = false;
  bool triggered_ = false;
  int64_t dueAt_ = 0;
};
