#pragma once

#include <optional>
#include <string_view>

class QLocale;

namespace velimoro::media {

// The language of the program's texts. They are written in Japanese; the English translation is
// built into the program. Qt's own texts (the buttons of its dialogs, the file dialog) follow
// from Qt's translations installed on the system.

enum class Language { kJapanese, kEnglish };

/// "ja" or "en"; nullopt for anything else.
std::optional<Language> parseLanguage(std::string_view code);
/// "ja" or "en".
const char* languageCode(Language language);
/// The language for a system in `locale`: Japanese for a Japanese locale and for none at all (the
/// C locale), English for every other.
Language languageOfLocale(const QLocale& locale);

/// The language a program starts in: `asked` (the value of its --lang) when it names one, else
/// `kept` (the one the settings store keeps) when that does, else the system locale's.
Language startLanguage(std::string_view asked, std::string_view kept);

/// The languages to choose from, each named in itself, so that a user who cannot read the one
/// shown finds theirs; and the caption of the menu that offers them.
struct LanguageName {
  Language language;
  const char* name;
};
inline constexpr LanguageName kLanguageNames[] = {{Language::kJapanese, "日本語"},
                                                  {Language::kEnglish, "English"}};
inline constexpr const char* kLanguageMenuCaption = "Language / 言語";

/// Makes `language` the one of every text from now on: the program's own, through translate()
/// and, in an application, through tr(); and Qt's own. Widgets that handle the language-change
/// event show it at once. False when a translation it needs could not be loaded; the texts it
/// could not load stay in Japanese (the program's) or English (Qt's).
bool useLanguage(Language language);

/// The language in use: Japanese until useLanguage() chooses another.
Language currentLanguage();

}  // namespace velimoro::media
