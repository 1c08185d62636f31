// velimoro-check: reports every fault of an installation's data files, or of the files named,
// as FILE:LINE: error: TEXT (or as JSON lines), with the checker's warnings beside them.

#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "media/ffmpeg_video_reader.h"
#include "media/translate.h"
#include "tools/check/checker.h"
#include "tools/check/report.h"
#include "tools/end_signal.h"
#include "tools/language.h"

namespace {

std::string usage() {
  return velimoro::media::translate(
      "CheckCommand",
      "使い方: velimoro-check [--root DIR] [--json] [--no-video] [--lang ja|en] [FILE...]\n"
      "データルートの車両ファイルと路線ファイルのすべてと dorvanel.dat、mascon.dat、\n"
      "operation.dat を、または FILE に挙げたファイルだけを調べます。終了コードは、誤りが\n"
      "なければ 0、誤りがあれば 1、コマンドラインの誤りは 2、SIGTERM・SIGINT・SIGHUP で\n"
      "途中で終わったときは 128 + シグナル番号です。\n"
      "  --root DIR      データルート（既定は現在のフォルダ）\n"
      "  --json          見つかったことを 1 件 1 行の JSON オブジェクトで書く\n"
      "  --no-video      路線の映像と場面の動画を探さない\n"
      "  --lang ja|en    表示の言語（既定は設定に保存された言語、なければシステムのロケール）\n"
      "  -h, --help      このヘルプを表示して終了する\n"
      "  -v, --version   バージョンを表示して終了する\n"
      "例:\n"
      "  velimoro-check --root ~/trains --no-video\n");
}

int usageFault(const std::string& text) {
  std::cerr << "velimoro-check: " << text << '\n' << usage();
  return 2;
}

std::optional<int> countFrames(const std::string& path) {
  velimoro::media::FfmpegVideoReader reader;
  std::string error;
  if (!reader.open(path, error)) return std::nullopt;
  return reader.frameCount();
}

}  // namespace

int main(int argc, char** argv) {
  using velimoro::media::fill;
  using velimoro::media::translate;
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string fault;
  if (!velimoro::tools::chooseLanguage(args, fault)) return usageFault(fault);
  velimoro::check::CheckOptions options;
  bool json = false;
  bool onlyFiles = false;  // after "--" every argument is a file
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (onlyFiles || !arg.starts_with('-') || arg == "-") {
      options.files.push_back(arg);
    } else if (arg == "--") {
      onlyFiles = true;
    } else if (arg == "--root" && i + 1 < args.size()) {
      options.root = args[++i];
    } else if (arg == "--json") {
      json = true;
    } else if (arg == "--no-video") {
      options.videos = false;
    } else if (arg == "--help" || arg == "-h") {
      std::cout << usage();
      return 0;
    } else if (arg == "--version" || arg == "-v") {
      std::cout << "velimoro-check " VELIMORO_VERSION "\n";
      return 0;
    } else {
      return usageFault(
          fill(translate("CheckCommand", "知らないオプションか、値がありません: %1"), {arg}));
    }
  }
  std::error_code ec;
  if (!options.root.empty() && !std::filesystem::is_directory(options.root, ec))
    return usageFault(fill(translate("CheckCommand", "フォルダ %1 がありません"), {options.root}));
  options.frames = countFrames;
  // An end signal stops the check before the next file; what was found so far is reported.
  velimoro::tools::recordEndSignals();
  options.stop = [] { return velimoro::tools::g_endSignal != 0; };
  const velimoro::check::Findings findings = velimoro::check::checkInstallation(options);
  if (json) {
    velimoro::check::writeJsonLines(findings, std::cout);
  } else {
    velimoro::check::writeText(findings, std::cout);
  }
  if (const int signal = velimoro::tools::g_endSignal; signal != 0) {
    std::cout.flush();
    std::cerr << "velimoro-check: "
              << fill(translate("CheckCommand",
                                "シグナル %1 で終わりました。調べていないファイルがあります"),
                      {std::to_string(signal)})
              << '\n';
    return 128 + signal;
  }
  return velimoro::check::anyError(findings) ? 1 : 0;
}
