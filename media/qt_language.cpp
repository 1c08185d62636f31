#include "media/qt_language.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <vector>

#include "media/translate.h"

namespace velimoro::media {
namespace {

// The folder of the resources the build makes of translations/*_en.ts.
constexpr const char* kOwnTranslations = ":/translations";

// The translators in use. The video reader's worker may translate a fault while the UI thread
// changes the language, so the list is read and replaced under a lock; Qt's own list of them is
// changed outside it, as that sends the language-change event to every widget at once.
struct Translators {
  std::shared_mutex lock;
  Language language = Language::kJapanese;
  std::vector<std::unique_ptr<QTranslator>> own;  // one per area of the program
  std::unique_ptr<QTranslator> qt;
};

Translators& translators() {
  static Translators installed;
  return installed;
}

std::string translateWithOwn(const char* context, const char* source) {
  Translators& t = translators();
  const std::shared_lock reading(t.lock);
  for (const auto& translator : t.own) {
    const QString text = translator->translate(context, source);
    if (!text.isNull()) return text.toStdString();
  }
  return source;
}

// Hands the translators to Qt's list, or takes them out of it.
void showInApplication(const std::vector<std::unique_ptr<QTranslator>>& own,
                       const std::unique_ptr<QTranslator>& qt, bool shown) {
  if (QCoreApplication::instance() == nullptr) return;
  const auto apply = [shown](QTranslator* translator) {
    if (shown)
      QCoreApplication::installTranslator(translator);
    else
      QCoreApplication::removeTranslator(translator);
  };
  for (const auto& translator : own)
    apply(translator.get());
  if (qt) apply(qt.get());
}

}  // namespace

std::optional<Language> parseLanguage(std::string_view code) {
  if (code == "ja") return Language::kJapanese;
  if (code == "en") return Language::kEnglish;
  return std::nullopt;
}

const char* languageCode(Language language) {
  return language == Language::kJapanese ? "ja" : "en";
}

Language languageOfLocale(const QLocale& locale) {
  const QLocale::Language language = locale.language();
  return language == QLocale::Japanese || language == QLocale::C ? Language::kJapanese
                                                                 : Language::kEnglish;
}

Language startLanguage(std::string_view asked, std::string_view kept) {
  if (const auto chosen = parseLanguage(asked)) return *chosen;
  if (const auto chosen = parseLanguage(kept)) return *chosen;
  return languageOfLocale(QLocale::system());
}

bool useLanguage(Language language) {
  bool complete = true;
  auto qt = std::make_unique<QTranslator>();
  const QString qtName = QStringLiteral("qtbase_") + QString::fromLatin1(languageCode(language));
  if (!qt->load(qtName, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    qt.reset();
    if (language == Language::kJapanese) complete = false;  // English needs none: Qt's own
  }
  std::vector<std::unique_ptr<QTranslator>> own;
  if (language == Language::kEnglish) {
    const QDir folder(QString::fromLatin1(kOwnTranslations));
    const QStringList files =
        folder.entryList({QStringLiteral("*_en.qm")}, QDir::Files, QDir::Name);
    if (files.isEmpty()) complete = false;
    for (const QString& file : files) {
      auto translator = std::make_unique<QTranslator>();
      if (translator->load(folder.filePath(file)))
        own.push_back(std::move(translator));
      else
        complete = false;
    }
  }

  Translators& t = translators();
  showInApplication(t.own, t.qt, false);
  {
    const std::unique_lock replacing(t.lock);
    std::swap(t.own, own);
    std::swap(t.qt, qt);
    t.language = language;
  }
  setTranslation(language == Language::kEnglish ? &translateWithOwn : nullptr);
  showInApplication(t.own, t.qt, true);
  return complete;  // the translators of before go with `own` and `qt`, no longer read
}

Language currentLanguage() {
  Translators& t = translators();
  const std::shared_lock reading(t.lock);
  return t.language;
}

}  // namespace velimoro::media
