#pragma once

#include <sstream>
#include <string>

#include "support/test_support.h"
#include "tools/content/generator.h"

namespace velimoro::testing {

/// The demo installation without videos, made once per test program in a temporary folder (for
/// the test programs that link the content generator).
inline const std::string& demoRoot() {
  static TempDir dir;
  static const bool made = [] {
    std::ostringstream progress;
    content::generateDemo(dir.path(), progress);
    return true;
  }();
  (void)made;
  return dir.path();
}

}  // namespace velimoro::testing
