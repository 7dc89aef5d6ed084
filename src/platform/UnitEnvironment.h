// Access to environment variables and the "%NAME%" expansion built on it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

class TEnvironment {
 public:
  virtual ~TEnvironment() = default;
  // The value of variable `name`, or nothing when it is not set.
  virtual std::optional<std::u16string> Get(std::u16string_view name) const = 0;
};

// The process environment (getenv), names and values decoded losslessly.
class TProcessEnvironment : public TEnvironment {
 public:
  std::optional<std::u16string> Get(std::u16string_view name) const override;
};

// Each "%NAME%" whose NAME is set becomes its value; everything else, including
// "%NAME%" of an unset NAME and a lone "%", stays as written.
std::u16string ExpandEnvironmentStrings(std::u16string_view text, const TEnvironment& env);

// The process's current directory, without a trailing "/"; empty when unknown.
std::u16string CurrentDirectory();
// `path` made absolute against the current directory.
std::u16string AbsolutePath(std::u16string_view path);
// `path` absolute, with symbolic links and "." / ".." resolved, as the file
// system spells it; `path` made absolute when it does not exist.
std::u16string CanonicalPath(std::u16string_view path);
// The full path of the running executable; empty when the system cannot tell.
std::u16string ExecutablePath();
// Whether standard error is a terminal (progress is shown there only then).
bool StandardErrorIsTerminal();
