// A TProgress that records every call as a line of text ("Started: what",
// "Advanced: 200", "Message: text", "Finished"), and can run a test's hook on
// each call, for example to cancel the operation from inside it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/UnitProgress.h"
#include "platform/UnitText.h"

class TRecordingProgress : public TProgress {
 public:
  std::vector<std::string> calls;
  std::function<void(const std::string& call)> onCall;  // runs after each call is recorded
  bool cancelled = false;                               // what Cancelled answers

  void Started(std::u16string_view what, int total) override {
    Record("Started: " + Utf16ToUtf8(what) + " " + std::to_string(total));
  }
  void Advanced(int done) override { Record("Advanced: " + std::to_string(done)); }
  void Message(std::u16string_view text) override { Record("Message: " + Utf16ToUtf8(text)); }
  void Finished() override { Record("Finished"); }
  bool Cancelled() const override { return cancelled; }

  // The recorded calls that begin with `prefix`.
  std::vector<std::string> CallsStartingWith(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const std::string& call : calls) {
      if (call.rfind(prefix, 0) == 0) found.push_back(call);
    }
    return found;
  }

 private:
  void Record(std::string call) {
    calls.push_back(call);
    if (onCall) onCall(call);
  }
};
