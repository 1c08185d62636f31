#include "tools/language.h"

#include <algorithm>

#include "media/qt_language.h"
#include "media/qt_settings_store.h"
#include "media/translate.h"
#include "persist/settings.h"

namespace velimoro::tools {

bool chooseLanguage(std::vector<std::string>& args, std::string& fault) {
  bool given = false;
  std::string value;
  const auto end = std::find(args.begin(), args.end(), "--");
  const auto at = std::find(args.begin(), end, "--lang");
  if (at != end) {
    given = true;
    if (at + 1 != end) value = *(at + 1);
    args.erase(at, at + 1 != end ? at + 2 : at + 1);
  }
  media::QtSettingsStore store;
  media::useLanguage(media::startLanguage(value, readLanguage(store)));
  if (given && !media::parseLanguage(value)) {
    fault = media::fill(
        media::translate("ToolLanguage", "--lang には ja か en を指定してください: %1"), {value});
    return false;
  }
  return true;
}

}  // namespace velimoro::tools
