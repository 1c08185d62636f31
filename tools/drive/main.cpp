// velimoro-drive: one drive without a window, on a deterministic scheduler, with a trace out.
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "media/translate.h"
#include "tools/drive/headless.h"
#include "tools/language.h"

namespace {

std::string usage() {
  return velimoro::media::translate(
      "DriveCommand",
      "使い方: velimoro-drive --route FILE --train FILE [オプション]\n"
      "ウィンドウを開かずに 1 回の運転を走らせ、起きたことを書き出します。\n"
      "  --root DIR              データルート（既定は現在のフォルダ）\n"
      "  --route FILE            路線ファイル（必須）\n"
      "  --train FILE            車両ファイル（必須）\n"
      "  --train-folder DIR      車両ファイルのフォルダ\n"
      "  --start N               N 番目の駅から始める（0 は路線の開始位置）\n"
      "  --start-frame F         映像のフレーム F に停車して始める（手前の駅は発車済み）\n"
      "  --script FILE           入力: 「<秒> <コマンド> [引数]」の行\n"
      "  --seconds S             S 秒運転する（既定 60、スクリプトに quit があればそこまで）\n"
      "  --trace FILE.csv        ティックごとに状態の値を 1 行\n"
      "  --events FILE           音・喚呼・メッセージ・ノッチ・ブレーキの原因のイベント\n"
      "  --settings LIST         kanko=0,information=1,ats=1,aids=0\n"
      "  --report FILE.html      運転成績（FILE.json ならそのデータ）\n"
      "  --lang ja|en            "
      "表示の言語（既定は設定に保存された言語、なければシステムのロケール）\n"
      "  -h, --help              このヘルプを表示して終了する\n"
      "  -v, --version           バージョンを表示して終了する\n"
      "例:\n"
      "  velimoro-drive --root demo --route line_up2.dat --train train_QT600.dat \\\n"
      "      --script drive.txt --trace trace.csv\n");
}

int usageFault(const std::string& text) {
  std::cerr << "velimoro-drive: " << text << '\n'
            << velimoro::media::translate("DriveCommand",
                                          "使い方は「velimoro-drive --help」で表示できます。")
            << '\n';
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string fault;
  if (!velimoro::tools::chooseLanguage(args, fault)) return usageFault(fault);
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") {
      std::cout << usage();
      return 0;
    }
    if (arg == "--version" || arg == "-v") {
      std::cout << "velimoro-drive " VELIMORO_VERSION "\n";
      return 0;
    }
  }
  velimoro::headless::Options options;
  try {
    options = velimoro::headless::parseOptions(args);
  } catch (const std::exception& e) {
    return usageFault(e.what());
  }
  velimoro::headless::endDrivesOnSignals();
  return velimoro::headless::runDrive(options, std::cout, std::cerr);
}
