// A temporary folder for one test, removed with everything in it at the end.
#pragma once

#include <string>

class TTempFolder {
 public:
  TTempFolder();
  ~TTempFolder();
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;

  // The folder's path, without a trailing "/".
  const std::string& Path() const { return path_; }
  // Path of `name` inside the folder.
  std::string PathOf(const std::string& name) const { return path_ + "/" + name; }
  // Writes `bytes` to `name` inside the folder and returns its path.
  std::string WriteFile(const std::string& name, const std::string& bytes) const;

 private:
  std::string path_;
};
