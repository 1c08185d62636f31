#pragma once

#include <optional>
#include <string>

namespace velimoro::media {

/// The settings store: whole-number and text values by name under an application's name (the
/// organisation is the program's). On Windows the registry, elsewhere a file per application.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  /// The value of `key` under `application`; nothing when it is missing or not a whole number.
  virtual std::optional<int> readInt(const std::string& application, const std::string& key) = 0;
  /// Sets `key` under `application`; kept by the next flush.
  virtual void writeInt(const std::string& application, const std::string& key, int value) = 0;
  /// The text of `key` under `application`; nothing when it is missing.
  virtual std::optional<std::string> readText(const std::string& application,
                                              const std::string& key) = 0;
  /// Sets `key` under `application` to `text`; kept by the next flush.
  virtual void writeText(const std::string& application, const std::string& key,
                         const std::string& text) = 0;
  /// Writes what was set under `application` out at once. False, with `error` naming the file
  /// or key and why, when it could not be written; what was stored before then stays as it was.
  virtual bool flush(const std::string& application, std::string& error) = 0;
};

}  // namespace velimoro::media
