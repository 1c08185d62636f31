#include "studio/core/route_file_io.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "data/data_error.h"
#include "data/paths.h"
#include "data/ui_strings.h"
#include "media/translate.h"

namespace velimoro::studio {

std::optional<RouteDocument> openRouteDocument(const std::string& path, std::string& error) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    error = media::fill(media::translate("velimoro::studio::RouteFiles",
                                         "%1 はフォルダーで、路線ファイルではありません"),
                        {path});
    return std::nullopt;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = media::fill(media::translate("velimoro::studio::RouteFiles", "%1 を読めません: %2"),
                        {path, std::strerror(errno)});
    return std::nullopt;
  }
  std::string bytes;
  char buffer[64 * 1024];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (bytes.size() > kMaxRouteFileBytes) {
      error = media::fill(
          media::translate("velimoro::studio::RouteFiles",
                           "%1 は %2 MB を超えています。これほど大きな路線ファイルはありません"),
          {path, std::to_string(kMaxRouteFileBytes >> 20)});
      return std::nullopt;
    }
  }
  if (in.bad()) {
    error =
        media::fill(media::translate("velimoro::studio::RouteFiles", "%1 を読めません"), {path});
    return std::nullopt;
  }
  return RouteDocument::parse(bytes);
}

bool readTextFile(const std::string& path, std::string& text, std::string& error) {
  const auto fault = [&](const char* message) {
    error = media::fill(media::translate("velimoro::studio::RouteFiles", message), {path});
    return false;
  };
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec) return fault(VELIMORO_TEXT_NOOP("velimoro::studio::RouteFiles", "%1 を読めません"));
  if (size > kMaxRouteFileBytes)
    return fault(VELIMORO_TEXT_NOOP("velimoro::studio::RouteFiles", "%1 は大きすぎます"));
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (!in) return fault(VELIMORO_TEXT_NOOP("velimoro::studio::RouteFiles", "%1 を読めません"));
  text = bytes.str();
  return true;
}

std::string routeVideoPath(const std::string& path, const RouteDocument& route) {
  const auto dataName = route.value(RouteSection::kDataName, 0);
  if (!dataName || dataName->empty()) return {};
  std::string root = std::filesystem::path(path).parent_path().string();
  if (root.empty()) root = ".";
  root += "/";
  UiStrings strings;
  try {
    strings = readUiStrings(root);
  } catch (const DataError&) {
    // Without "dorvanel.dat" the video lies beside the route, as with an empty "[Path]".
  }
  return resolvePath(root, findVideoFileName(root, strings, *dataName));
}

bool saveFileWhole(const std::string& path, const std::string& bytes, std::string& error) {
  const std::filesystem::path target(path);
  std::filesystem::path temporary = target;
  temporary += ".saving";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      error =
          media::fill(media::translate("velimoro::studio::RouteFiles", "%1 に書けません"), {path});
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      return false;
    }
  }
  std::error_code ec;
  std::filesystem::rename(temporary, target, ec);
  if (ec) {
    error = media::fill(media::translate("velimoro::studio::RouteFiles", "%1 に書けません: %2"),
                        {path, ec.message()});
    std::filesystem::remove(temporary, ec);
    return false;
  }
  return true;
}

}  // namespace velimoro::studio
