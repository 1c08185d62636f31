#pragma once

#include <map>
#include <memory>
#include <string>

#include "media/settings_store.h"

class QSettings;

namespace velimoro::media {

/// The settings store on QSettings, organisation "Dorvanel": the registry on Windows, an INI
/// file per application under the XDG config folder elsewhere (XDG_CONFIG_HOME moves it).
class QtSettingsStore final : public SettingsStore {
 public:
  QtSettingsStore();
  ~QtSettingsStore() override;

  std::optional<int> readInt(const std::string& application, const std::string& key) override;
  void writeInt(const std::string& application, const std::string& key, int value) override;
  std::optional<std::string> readText(const std::string& application,
                                      const std::string& key) override;
  void writeText(const std::string& application, const std::string& key,
                 const std::string& text) override;
  bool flush(const std::string& application, std::string& error) override;

  /// Where `application`'s values are kept (a file path, or a registry key on Windows).
  std::string location(const std::string& application);

 private:
  QSettings& settings(const std::string& application);

  std::map<std::string, std::unique_ptr<QSettings>> m_settings;
};

}  // namespace velimoro::media
