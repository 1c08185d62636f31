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

/// Makes `language` the one of every text from now on: the program's own, through translate()
/// and, in an application, through tr(); and Qt's own. Widgets that handle the language-change
/// event show it at once. False when a translation it needs could not be loaded; the texts it
/// could not load stay in Japanese (the program's) or English (Qt's).
bool useLanguage(Language language);

/// The language in use: Japanese until useLanguage() chooses another.
Language currentLanguage();

}  // namespace velimoro::media
