#include "platform/UnitAppFolder.h"

#include "platform/UnitEnvironment.h"

namespace {
std::u16string WithSlash(std::u16string path) {
  if (path.empty() || path.back() != u'/') path.push_back(u'/');
  return path;
}
}  // namespace

std::u16string ApplicationFolder(const TEnvironment& env) {
  if (auto home = env.Get(u"TALLOWICK_HOME"); home && !home->empty()) return WithSlash(*home);
  if (auto config = env.Get(u"XDG_CONFIG_HOME"); config && !config->empty()) {
    return WithSlash(*config) + u"tallowick/";
  }
  const auto home = env.Get(u"HOME");
  return WithSlash(home && !home->empty() ? *home : u"/tmp") + u".config/tallowick/";
}
