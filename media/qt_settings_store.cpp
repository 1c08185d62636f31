#include "media/qt_settings_store.h"

#include "media/translate.h"

#include <QSettings>

namespace velimoro::media {
namespace {

constexpr const char* kOrganisation = "Dorvanel";

#ifdef _WIN32
constexpr QSettings::Format kFormat = QSettings::NativeFormat;
#else
constexpr QSettings::Format kFormat = QSettings::IniFormat;
#endif

}  // namespace

QtSettingsStore::QtSettingsStore() = default;
QtSettingsStore::~QtSettingsStore() = default;

QSettings& QtSettingsStore::settings(const std::string& application) {
  std::unique_ptr<QSettings>& slot = m_settings[application];
  if (!slot) {
    slot = std::make_unique<QSettings>(kFormat, QSettings::UserScope, kOrganisation,
                                       QString::fromStdString(application));
  }
  return *slot;
}

std::optional<int> QtSettingsStore::readInt(const std::string& application,
                                            const std::string& key) {
  const QVariant value = settings(application).value(QString::fromStdString(key));
  if (!value.isValid()) return std::nullopt;
  bool ok = false;
  const int number = value.toString().trimmed().toInt(&ok);
  if (!ok) return std::nullopt;
  return number;
}

void QtSettingsStore::writeInt(const std::string& application, const std::string& key, int value) {
  settings(application).setValue(QString::fromStdString(key), value);
}

std::optional<std::string> QtSettingsStore::readText(const std::string& application,
                                                     const std::string& key) {
  const QVariant value = settings(application).value(QString::fromStdString(key));
  if (!value.isValid()) return std::nullopt;
  // A value written by hand without quotes reads as a list where it holds a comma; it is the
  // text as written.
  if (value.typeId() == QMetaType::QStringList) {
    return value.toStringList().join(QLatin1Char(',')).toStdString();
  }
  return value.toString().toStdString();
}

void QtSettingsStore::writeText(const std::string& application, const std::string& key,
                                const std::string& text) {
  settings(application).setValue(QString::fromStdString(key), QString::fromStdString(text));
}

bool QtSettingsStore::flush(const std::string& application, std::string& error) {
  QSettings& store = settings(application);
  store.sync();
  if (store.status() == QSettings::NoError) return true;
  error = fill(translate("SettingsStore", "設定を保存できませんでした: %1"),
               {store.fileName().toStdString()});
  return false;
}

std::string QtSettingsStore::location(const std::string& application) {
  return settings(application).fileName().toStdString();
}

}  // namespace velimoro::media
