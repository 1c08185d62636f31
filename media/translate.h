#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace velimoro::media {

// The program's own texts are written in Japanese, its first language. A host that shows them in
// another language installs a translation; without one, every text stands as it is written.
//
// A text is marked where it is written, so that scripts/update-translations finds it:
// `translate("Context", "text")` where it is shown, or VELIMORO_TEXT_NOOP("Context", "text") in a
// table whose entries are translated where they are shown. Values go into a text through %1 ..
// %9 and fill(), so that a translation may put them where its own language wants them.

/// Marks `text` for the translation files and leaves it as it stands.
#define VELIMORO_TEXT_NOOP(context, text) text

/// Turns a text written in `context` into the chosen language.
using Translation = std::string (*)(const char* context, const char* source);

/// Makes `translation` the one that translate() asks from now on; nullptr leaves every text as
/// written. The host sets it on the UI thread; translate() may be called on any thread.
void setTranslation(Translation translation);

/// `source`, marked in `context`, in the chosen language.
std::string translate(const char* context, const char* source);

/// `text` with each %1 .. %9 replaced by the value at that place in `values`, in one pass, so a
/// value that itself holds "%1" stays as it is. A place with no value is left as written.
std::string fill(std::string_view text, std::initializer_list<std::string_view> values);

}  // namespace velimoro::media
