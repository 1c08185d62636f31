#include "media/translate.h"

#include <atomic>
#include <vector>

namespace velimoro::media {
namespace {
// Read on any thread: the video reader's worker translates its faults too.
std::atomic<Translation> installed = nullptr;
}  // namespace

void setTranslation(Translation translation) {
  installed.store(translation);
}

std::string translate(const char* context, const char* source) {
  const Translation translation = installed.load();
  if (translation == nullptr) return source;
  return translation(context, source);
}

std::string fill(std::string_view text, std::initializer_list<std::string_view> values) {
  const std::vector<std::string_view> at(values);
  std::string out;
  out.reserve(text.size() + 16 * at.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
      const auto place = static_cast<std::size_t>(text[i + 1] - '1');
      if (place < at.size()) {
        out += at[place];
        ++i;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

}  // namespace velimoro::media
