#include "media/qt_language.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>
#include <string>
#include <vector>

#include "media/translate.h"

namespace velimoro::media {
namespace {

// The folder of the resources the build makes of translations/*_en.ts.
constexpr const char* kOwnTranslations = ":/translations";

struct Translators {
  Language language = Language::kJapanese;
  std::vector<std::unique_ptr<QTranslator>> own;  // one per area of the program
  std::unique_ptr<QTranslator> qt;
};

Translators& translators() {
  static Translators installed;
  return installed;
}

std::string translateWithOwn(const char* context, const char* source) {
  for (const auto& translator : translators().own) {
    const QString text = translator->translate(context, source);
    if (!text.isNull()) return text.toStdString();
  }
  return source;
}

void uninstall(Translators& t) {
  setTranslation(nullptr);
  if (QCoreApplication::instance() != nullptr) {
    for (const auto& translator : t.own)
      QCoreApplication::removeTranslator(translator.get());
    if (t.qt) QCoreApplication::removeTranslator(t.qt.get());
  }
  t.own.clear();
  t.qt.reset();
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

bool useLanguage(Language language) {
  Translators& t = translators();
  uninstall(t);
  t.language = language;
  bool complete = true;

  auto qt = std::make_unique<QTranslator>();
  const QString qtName = QStringLiteral("qtbase_") + QString::fromLatin1(languageCode(language));
  if (qt->load(qtName, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    t.qt = std::move(qt);
  else if (language == Language::kJapanese)
    complete = false;  // Qt's texts are English without it; English needs none

  if (language == Language::kEnglish) {
    const QDir own(QString::fromLatin1(kOwnTranslations));
    const QStringList files = own.entryList({QStringLiteral("*_en.qm")}, QDir::Files, QDir::Name);
    if (files.isEmpty()) complete = false;
    for (const QString& file : files) {
      auto translator = std::make_unique<QTranslator>();
      if (translator->load(own.filePath(file)))
        t.own.push_back(std::move(translator));
      else
        complete = false;
    }
    setTranslation(&translateWithOwn);
  }

  if (QCoreApplication::instance() != nullptr) {
    for (const auto& translator : t.own)
      QCoreApplication::installTranslator(translator.get());
    if (t.qt) QCoreApplication::installTranslator(t.qt.get());
  }
  return complete;
}

Language currentLanguage() {
  return translators().language;
}

}  // namespace velimoro::media
