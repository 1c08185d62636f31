#include "tools/check/checker.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>

#include "data/data_error.h"
#include "data/paths.h"
#include "data/train_reader.h"
#include "media/translate.h"
#include "tools/check/file_kind.h"
#include "tools/check/support_files.h"
#include "tools/check/train_check.h"

namespace velimoro::check {
namespace {

namespace fs = std::filesystem;

// One data file to check: where it lies below its data root, and how the findings name it.
struct Target {
  FileKind kind = FileKind::kUnknown;
  std::string root;
  std::string relative;  // below the root, "/" separated; absolute when outside it
  std::string shown;
  const char* missing = nullptr;  // a support file that is not there: the warning to give
};

std::string lowerAscii(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

// The files beside the routes and trains. The drive does not start without "dorvanel.dat"; it
// goes on without the others.
struct SupportFile {
  FileKind kind;
  const char* name;
  // The warning when it is missing, to translate; null: its reader's error.
  const char* whenMissing;
};
constexpr SupportFile kSupportFiles[] = {
    {FileKind::kUiStrings, "dorvanel.dat", nullptr},
    {FileKind::kControllerMap, "mascon.dat",
     VELIMORO_TEXT_NOOP("Checker",
                        "mascon.datがありません。シリアル接続のマスコンのコードが"
                        "定まりません")},
    {FileKind::kHelpText, "operation.dat",
     VELIMORO_TEXT_NOOP("Checker", "operation.datがありません。ヘルプ画面は空になります")},
};

bool isSupportFile(const std::string& name) {
  const std::string lower = lowerAscii(name);
  return lower == "dorvanel.dat" || lower == "mascon.dat" || lower == "operation.dat";
}

std::string shownBelow(const std::string& root, const std::string& relative) {
  return (fs::path(root) / relative).lexically_normal().generic_string();
}

// The train and route data files of `root` and its folders, by path.
std::vector<Target> scanRoot(const std::string& root) {
  std::vector<std::string> found;
  std::error_code ec;
  const auto options = fs::directory_options::skip_permission_denied;
  for (fs::recursive_directory_iterator it(root, options, ec), end; !ec && it != end;
       it.increment(ec)) {
    std::error_code fileError;
    if (!it->is_regular_file(fileError)) continue;
    const fs::path& path = it->path();
    if (lowerAscii(path.extension().string()) != ".dat") continue;
    if (it.depth() == 0 && isSupportFile(path.filename().string())) continue;
    found.push_back(path.lexically_relative(root).generic_string());
  }
  std::sort(found.begin(), found.end());
  std::vector<Target> targets;
  for (const std::string& relative : found) {
    const FileKind kind = fileKind(shownBelow(root, relative));
    if (kind == FileKind::kTrain || kind == FileKind::kRoute)
      targets.push_back({kind, root, relative, shownBelow(root, relative)});
  }
  return targets;
}

// A file named on the command line: below `root` when it lies there.
Target namedTarget(const std::string& root, const std::string& file) {
  Target t{fileKind(file), root, {}, file};
  const std::string folder = fs::path(file).parent_path().string();
  // The support files are found by name in their own folder.
  if (root.empty() || t.kind == FileKind::kUiStrings || t.kind == FileKind::kControllerMap ||
      t.kind == FileKind::kHelpText) {
    t.root = folder;
    t.relative = fs::path(file).filename().string();
    return t;
  }
  std::error_code ec;
  const fs::path base = fs::weakly_canonical(root, ec);
  const fs::path full = fs::weakly_canonical(file, ec);
  const fs::path relative = full.lexically_relative(base);
  t.relative = relative.empty() || *relative.begin() == ".." ? full.generic_string()
                                                             : relative.generic_string();
  return t;
}

// The texts of "dorvanel.dat" in each root, read once each; none when it does not read.
class UiStringsByRoot {
 public:
  const UiStrings* of(const std::string& root) {
    auto it = m_read.find(root);
    if (it == m_read.end()) {
      std::optional<UiStrings> strings;
      try {
        strings = readUiStrings(root);
      } catch (const DataError&) {
        // Without it the videos cannot be found; its own check reports why.
      }
      it = m_read.emplace(root, std::move(strings)).first;
    }
    return it->second ? &*it->second : nullptr;
  }
  void set(const std::string& root, std::optional<UiStrings> strings) {
    m_read[root] = std::move(strings);
  }

 private:
  std::map<std::string, std::optional<UiStrings>> m_read;
};

void checkTarget(const Target& t, const CheckOptions& options, UiStringsByRoot& strings,
                 Findings& out) {
  switch (t.kind) {
    case FileKind::kTrain: {
      const fs::path relative(t.relative);
      std::string folder = relative.parent_path().generic_string();
      if (!folder.empty()) folder += '/';
      checkTrainFile({t.root, folder, relative.filename().string()}, t.shown, out);
      break;
    }
    case FileKind::kRoute: {
      VideoCheck videos;
      if (options.videos) videos = {strings.of(t.root), options.frames};
      checkRouteFile(t.root, t.relative, t.shown, videos, out);
      break;
    }
    case FileKind::kUiStrings:
      strings.set(t.root, checkUiStrings(t.root, t.shown, out));
      break;
    case FileKind::kControllerMap:
      checkControllerMap(t.root, t.shown, out);
      break;
    case FileKind::kHelpText:
      checkHelpText(t.root, t.shown, out);
      break;
    case FileKind::kUnknown:
      out.push_back({t.shown, 0, false,
                     media::translate("Checker",
                                      "車両ファイルでも路線ファイルでもありません。"
                                      "どちらのセクションを始める行もありません")});
      break;
  }
}

}  // namespace

Findings checkInstallation(const CheckOptions& options) {
  std::vector<Target> targets;
  if (options.files.empty()) {
    const std::string root = options.root.empty() ? "." : options.root;
    for (const SupportFile& file : kSupportFiles) {
      // Shown as it lies on disk, in whatever letter case.
      const std::string path = resolvePath(root, file.name);
      const std::string shown = shownBelow(root, fs::path(path).filename().string());
      std::error_code ec;
      const bool missing = file.whenMissing != nullptr && !fs::is_regular_file(path, ec);
      targets.push_back({file.kind, root, file.name, shown, missing ? file.whenMissing : nullptr});
    }
    const std::vector<Target> data = scanRoot(root);
    targets.insert(targets.end(), data.begin(), data.end());
  } else {
    for (const std::string& file : options.files)
      targets.push_back(namedTarget(options.root, file));
  }

  Findings out;
  UiStringsByRoot strings;
  for (const Target& t : targets) {
    if (options.stop && options.stop()) break;
    const std::size_t first = out.size();
    if (t.missing != nullptr) {
      out.push_back({t.shown, 0, true, media::translate("Checker", t.missing)});
      continue;
    }
    std::error_code ec;
    if (!options.files.empty() && !fs::is_regular_file(t.shown, ec)) {
      out.push_back({t.shown, 0, false, media::translate("Checker", "ファイルがありません")});
      continue;
    }
    checkTarget(t, options, strings, out);
    std::stable_sort(out.begin() + static_cast<std::ptrdiff_t>(first), out.end(),
                     [](const Finding& a, const Finding& b) { return a.line < b.line; });
  }
  return out;
}

}  // namespace velimoro::check
