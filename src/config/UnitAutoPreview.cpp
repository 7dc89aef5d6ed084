#include "config/UnitAutoPreview.h"

#include <limits>

void TFrmDummyAutoPreview::SetEnabled(bool on) {
  enabled_ = on;
  if (!on) pending_ = false;
}

void TFrmDummyAutoPreview::InformOfKeypress(int64_t nowMs) {
  pending_ = false;
  if (!enabled_ || !optionOn_ || !windowVisible_) return;
  pending_ = true;
  constexpr int64_t latest = std::numeric_limits<int64_t>::max() - kDelayMs;
  dueAt_ = nowMs > latest ? std::numeric_limits<int64_t>::max() : nowMs + kDelayMs;
}

bool TFrmDummyAutoPreview::Tick(int64_t nowMs) {
  if (!Due(nowMs)) return false;
  pending_ = false;
  triggered_ = true;
  return true;
}

bool TFrmDummyAutoPreview::ForceTriggerIfEnabled() {
  if (!enabled_) return false;
  pending_ = false;
  triggered_ = true;
  return true;
}
