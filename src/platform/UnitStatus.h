// The result of an operation that can fail: a code, the file it concerns and
// the reason in words. Made by the platform layer, passed up by early returns.
#pragma once

#include <memory>
#include <string>
#include <utility>

class [[nodiscard]] TStatus {
 public:
  TStatus() = default;  // success

  static TStatus Ok() { return TStatus(); }
  // `code` is an errno value or another non-zero number; `reason` the text a user reads.
  static TStatus Error(int code, std::u16string file, std::u16string reason) {
    TStatus s;
    s.failure_ = std::make_shared<const TFailure>(
        TFailure{code == 0 ? -1 : code, std::move(file), std::move(reason)});
    return s;
  }

  bool ok() const { return failure_ == nullptr; }
  int code() const { return failure_ ? failure_->code : 0; }
  const std::u16string& file() const { return failure_ ? failure_->file : Empty(); }
  const std::u16string& reason() const { return failure_ ? failure_->reason : Empty(); }
  // "file: reason", or the reason alone when no file is named.
  std::u16string Message() const { return file().empty() ? reason() : file() + u": " + reason(); }

 private:
  struct TFailure {
    int code;
    std::u16string file;
    std::u16string reason;
  };
  static const std::u16string& Empty() {
    static const std::u16string empty;
    return empty;
  }

  // Success holds nothing, so that the many statuses a large run keeps and
  // passes stay small; a failure, once made, never changes and is shared.
  std::shared_ptr<const TFailure> failure_;
};
