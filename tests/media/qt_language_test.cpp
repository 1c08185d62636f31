// The program's texts in its two languages: every English text of translations/ comes out of the
// program as the file writes it, Qt's own texts follow, and going back to Japanese leaves every
// text as written.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <QXmlStreamReader>
#include <filesystem>
#include <string>
#include <vector>

#include "media/qt_language.h"
#include "media/translate.h"

namespace velimoro::media {
namespace {

struct Message {
  std::string context, source, translation;
};

// The text of the element just opened, with the control characters the file writes as
// <byte value="xd"/>.
std::string textOf(QXmlStreamReader& xml) {
  std::string text;
  while (!xml.atEnd() &&
         (xml.readNext() != QXmlStreamReader::EndElement || xml.name() == u"byte")) {
    if (xml.isCharacters()) text += xml.text().toString().toStdString();
    if (xml.isStartElement() && xml.name() == u"byte")
      text += static_cast<char>(
          xml.attributes().value(QStringLiteral("value")).mid(1).toInt(nullptr, 16));
  }
  return text;
}

std::vector<Message> messagesOf(const std::filesystem::path& ts) {
  QFile file(QString::fromStdString(ts.string()));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << ts;
  QXmlStreamReader xml(&file);
  std::vector<Message> messages;
  std::string context;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    if (xml.name() == u"name") context = xml.readElementText().toStdString();
    if (xml.name() == u"message") messages.push_back({context, {}, {}});
    if (xml.name() == u"source") messages.back().source = textOf(xml);
    if (xml.name() == u"translation") messages.back().translation = textOf(xml);
  }
  EXPECT_FALSE(xml.hasError()) << ts << ": " << xml.errorString().toStdString();
  return messages;
}

TEST(Language, TheLocaleChoosesAndTheCodesRoundTrip) {
  EXPECT_EQ(languageOfLocale(QLocale(QLocale::Japanese, QLocale::Japan)), Language::kJapanese);
  EXPECT_EQ(languageOfLocale(QLocale::c()), Language::kJapanese);
  EXPECT_EQ(languageOfLocale(QLocale(QLocale::English, QLocale::UnitedStates)), Language::kEnglish);
  EXPECT_EQ(languageOfLocale(QLocale(QLocale::German, QLocale::Germany)), Language::kEnglish);
  for (Language language : {Language::kJapanese, Language::kEnglish})
    EXPECT_EQ(parseLanguage(languageCode(language)), language);
  EXPECT_EQ(parseLanguage("EN"), std::nullopt);
  EXPECT_EQ(parseLanguage(""), std::nullopt);
}

TEST(Language, EveryEnglishTextOfTheFilesComesOutAndJapaneseComesBack) {
  ASSERT_TRUE(useLanguage(Language::kEnglish));
  EXPECT_EQ(currentLanguage(), Language::kEnglish);
  std::vector<Message> all;
  for (const auto& entry : std::filesystem::directory_iterator(
           std::filesystem::path(VELIMORO_SOURCE_DIR) / "translations"))
    if (entry.path().extension() == ".ts")
      for (Message& message : messagesOf(entry.path()))
        all.push_back(std::move(message));
  for (const Message& m : all) {
    if (m.translation.empty()) continue;  // the file's check reports it
    EXPECT_EQ(translate(m.context.c_str(), m.source.c_str()), m.translation) << m.context;
    EXPECT_EQ(QCoreApplication::translate(m.context.c_str(), m.source.c_str()).toStdString(),
              m.translation)
        << m.context;
  }
  // Qt's own button, as its dialogs show it, in each language.
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel").toStdString(), "Cancel");
  ASSERT_TRUE(useLanguage(Language::kJapanese));
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel").toStdString(), "キャンセル");
  for (const Message& m : all)
    EXPECT_EQ(translate(m.context.c_str(), m.source.c_str()), m.source);
}

TEST(Language, ValuesFillTheirPlacesOnce) {
  EXPECT_EQ(fill("%2 m %1 (%3)", {"手前", "1.5", "%1"}), "1.5 m 手前 (%1)");
  EXPECT_EQ(fill("100% %1 %4", {"x"}), "100% x %4");
  EXPECT_EQ(fill("%", {}), "%");
}

}  // namespace
}  // namespace velimoro::media
