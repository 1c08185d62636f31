// velimoro-content: renders the demo installation (trains, routes, pictures, sounds, voices,
// help files and route videos) into a data root; --no-video leaves the videos out, --hd renders
// them sharp for a large screen. It also draws the program's icons for the desktop.

#include <cstring>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "data/data_root.h"
#include "media/translate.h"
#include "tools/content/generator.h"
#include "tools/content/icon_art.h"
#include "tools/end_signal.h"
#include "tools/language.h"

namespace {

namespace fs = std::filesystem;

using velimoro::media::fill;
using velimoro::media::translate;

std::string usage() {
  return translate(
      "ContentCommand",
      "使い方: velimoro-content (--out DIR | --user) [--no-video | --hd] [--lang ja|en]\n"
      "        velimoro-content --icons DIR\n"
      "デモのインストールを作ります: 車両 2 編成、映像つきの路線 6 本、タイトル画面の絵と\n"
      "音楽、音、喚呼の音声、ヘルプのファイル。\n"
      "  --out DIR       DIR に作る\n"
      "  --user          ユーザーのデータフォルダ（XDG_DATA_HOME の下の velimoro）に作る。\n"
      "                  velimoro は --root なしでそこを見つけます\n"
      "  --no-video      路線の映像と場面の動画を作らない（ずっと速い）\n"
      "  --hd            路線の映像と場面の動画を 604 x 340 でなく 1280 x 720 で作る。\n"
      "                  大きな画面でも鮮明です（ディスクはおよそ 3 倍、作る時間は\n"
      "                  数倍かかります）\n"
      "  --icons DIR     プログラムのアイコンをアイコンテーマの配置で DIR に描く\n"
      "  --lang ja|en    表示の言語（既定は設定に保存された言語、なければシステムのロケール）\n"
      "  -h, --help      このヘルプを表示して終了する\n"
      "  -v, --version   バージョンを表示して終了する\n"
      "SIGTERM・SIGINT・SIGHUP で作成を止めます（終了コードは 128 + シグナル番号）。\n"
      "--user のときは何も残しません。\n"
      "例:\n"
      "  velimoro-content --out ~/velimoro-demo && velimoro --root ~/velimoro-demo\n");
}

int usageFault(const std::string& text) {
  std::cerr << "velimoro-content: " << text << '\n'
            << translate("ContentCommand", "使い方は「velimoro-content --help」で表示できます。")
            << '\n';
  return 2;
}

// The user's data folder comes whole or not at all: the demo is rendered beside it and moved
// into place at the end, so that an interrupted rendering is never taken for a data root. A
// folder that already holds something is the user's and is left alone.
int renderForUser(bool videos, bool hd) {
  const fs::path root = velimoro::userDataRoot();
  if (root.empty()) {
    std::cerr << "velimoro-content: "
              << translate("ContentCommand", "XDG_DATA_HOME も HOME もフォルダを指していません")
              << '\n';
    return 1;
  }
  std::error_code ec;
  if (fs::exists(root, ec) && !fs::is_empty(root, ec)) {
    std::cerr << "velimoro-content: "
              << fill(translate("ContentCommand",
                                "%1 にはすでにファイルがあります。先に削除するか、--out で別の"
                                "場所に作ってください"),
                      {root.string()})
              << '\n';
    return 1;
  }
  const fs::path partial = root.string() + ".partial";
  fs::remove_all(partial, ec);
  try {
    velimoro::content::generateDemo(partial.string(), std::cout, videos, hd);
  } catch (...) {
    fs::remove_all(partial, ec);
    throw;
  }
  fs::remove(root, ec);  // an empty folder, if any
  fs::rename(partial, root);
  std::cout << fill(translate("ContentCommand", "デモのインストール: %1"), {root.string()}) << '\n';
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string fault;
  if (!velimoro::tools::chooseLanguage(args, fault)) return usageFault(fault);
  std::string out, icons;
  bool videos = true, hd = false, user = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      std::cout << usage();
      return 0;
    } else if (arg == "--version" || arg == "-v") {
      std::cout << "velimoro-content " VELIMORO_VERSION "\n";
      return 0;
    } else if ((arg == "--out" || arg == "--icons") && i + 1 < args.size()) {
      (arg == "--out" ? out : icons) = args[++i];
    } else if (arg == "--user") {
      user = true;
    } else if (arg == "--no-video") {
      videos = false;
    } else if (arg == "--hd") {
      hd = true;
    } else if (arg == "--out" || arg == "--icons") {
      return usageFault(fill(translate("ContentCommand", "%1 にはフォルダが必要です"), {arg}));
    } else {
      return usageFault(
          fill(translate("ContentCommand", "「%1」というオプションはありません"), {arg}));
    }
  }
  if (static_cast<int>(!out.empty()) + static_cast<int>(user) + static_cast<int>(!icons.empty()) !=
      1)
    return usageFault(translate("ContentCommand",
                                "--out DIR、--user、--icons DIR のどれか 1 つを指定してください"));
  if (hd && !videos)
    return usageFault(
        translate("ContentCommand", "--hd は映像を作る指定ですが、--no-video は映像を作りません"));
  // An end signal stops the rendering before its next file or video frame.
  velimoro::tools::recordEndSignals();
  try {
    if (!icons.empty()) {
      velimoro::content::writeIcons(icons);
      return 0;
    }
    if (user) return renderForUser(videos, hd);
    velimoro::content::generateDemo(out, std::cout, videos, hd);
  } catch (const std::exception& e) {
    // A signal may also end a helper program midway, whose failure then only follows from it.
    if (const int signal = velimoro::tools::g_endSignal; signal != 0) {
      std::cerr << "velimoro-content: "
                << (user ? fill(translate(
                                    "ContentCommand",
                                    "シグナル %1 で終わりました。何もインストールしていません"),
                                {std::to_string(signal)})
                         : fill(translate("ContentCommand",
                                          "シグナル %1 で終わりました。%2 には作りかけのファイルが"
                                          "残っています"),
                                {std::to_string(signal), out}))
                << '\n';
      return 128 + signal;
    }
    std::cerr << "velimoro-content: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
