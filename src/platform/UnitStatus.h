// The result of an operation that can fail: a code, the file it concerns and
// the reason in words. Made by the platform layer, passed up by early returns.
#pragma once

#include <string>
#include <utility>

class [[nodiscard]] TStatus {
 public:
  TStatus() = default;  // success

  static TStatus Ok() { return TStatus(); }
  // `code` is an errno value or another non-zero number; `reason` the text a user reads.
  static TStatus Error(int code, std::u16string file, std::u16string reason) {
    TStatus s;
    s.code_ = code == 0 ? -1 : code;
    s.file_ = std::move(file);
    s.reason_ = std::move(reason);
    return s;
  }

  bool ok() const { return code_ == 0; }
  int code() const { return code_; }
  const std::u16string& file() const { return file_; }
  const std::u16string& reason() const { return reason_; }
  // "file: reason", or the reason alone when no file is named.
  std::u16string Message() const { return file_.empty() ? reason_ : file_ + u": " + reason_; }

 private:
  int code_ = 0;
  std::u16string file_;
  std::u16string reason_;
};
