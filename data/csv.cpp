#include "data/csv.h"

namespace velimoro {

std::string_view csvField(std::string_view line, int n) {
  std::string_view rest = line;
  while (n > 0) {
    const std::size_t comma = rest.find(',');
    if (comma == std::string_view::npos) return n == 1 ? rest : std::string_view("Error");
    const std::string_view field = rest.substr(0, comma);
    rest.remove_prefix(comma + 1);
    if (--n == 0) return field;
  }
  return "Error";
}

}  // namespace velimoro
