#include "shell/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

#include "media/qt_language.h"

namespace velimoro::shell {
namespace {

// The command line's texts, translated in one context of their own.
struct CommandLine {
  Q_DECLARE_TR_FUNCTIONS(velimoro::shell::CommandLine)
};

void printError(const QString& text) {
  std::fputs(CommandLine::tr("velimoro: %1\n詳しくは 'velimoro --help' を見てください。\n")
                 .arg(text)
                 .toLocal8Bit()
                 .constData(),
             stderr);
}

}  // namespace

std::optional<std::string> languageAsked(const QStringList& args) {
  std::optional<std::string> asked;
  for (qsizetype i = 1; i < args.size(); ++i) {
    if (args[i] == QLatin1String("--")) break;
    if (args[i] == QLatin1String("--lang") && i + 1 < args.size()) {
      asked = args[++i].toStdString();
    } else if (args[i].startsWith(QLatin1String("--lang="))) {
      asked = args[i].mid(7).toStdString();
    }
  }
  return asked;
}

ParsedCommandLine parseCommandLine(const QStringList& args) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      CommandLine::tr(
          "鉄道運転シミュレータ %1: タイトル画面、または一つの運転の運転台。\n"
          "例:\n"
          "  velimoro                       見つかったデータフォルダでタイトル画面\n"
          "  velimoro --root ~/trains --train train_QT600.dat --route line_up2.dat\n"
          "                                 一つの運転の運転台\n"
          "データフォルダは --root、なければ dorvanel.dat のあるプログラムのフォルダか\n"
          "今のフォルダ、なければ利用者のデータフォルダ（XDG_DATA_HOME の velimoro）で、\n"
          "最初の起動ではそこにデモを作ります。")
          .arg(QStringLiteral(VELIMORO_VERSION)));
  // The values' names stay in capitals in every language: the help lines up by their width.
  const QString dir = QStringLiteral("DIR");
  const QString file = QStringLiteral("FILE");
  const QCommandLineOption help({"h", "help"}, CommandLine::tr("この説明を表示して終わる。"));
  const QCommandLineOption version({"v", "version"}, CommandLine::tr("版を表示して終わる。"));
  const QCommandLineOption lang(
      "lang", CommandLine::tr("表示の言語: ja（日本語）または en（英語）。"), "ja|en");
  const QCommandLineOption root(
      "root", CommandLine::tr("データフォルダ（dorvanel.dat のあるフォルダ）。"), dir);
  const QCommandLineOption train("train", CommandLine::tr("車両データファイル: その運転台を開く。"),
                                 file);
  const QCommandLineOption trainFolder("train-folder",
                                       CommandLine::tr("車両データファイルのフォルダ。"), dir);
  const QCommandLineOption route("route", CommandLine::tr("運転する路線データファイル。"), file);
  const QCommandLineOption start("start",
                                 CommandLine::tr("N 番目の駅から始める（0 は路線の始点）。"), "N");
  const QCommandLineOption startFrame(
      "start-frame", CommandLine::tr("動画のフレーム F に停まって始める（その前の駅は発車済み）。"),
      "F");
  const QCommandLineOption band("band", CommandLine::tr("画面の下に十二の値の欄を表示する。"));
  const QCommandLineOption seconds(
      "seconds", CommandLine::tr("S 秒のあいだ利用者なしで運転して終わる。"), "S");
  const QCommandLineOption screenshot("screenshot", CommandLine::tr("終わるときに画面を保存する。"),
                                      file + ".png");
  const QCommandLineOption screenshotScale(
      "screenshot-scale",
      CommandLine::tr("画面を S 倍（1 から 4）の大きさで描き、その大きさで保存する。"), "S");
  const QCommandLineOption keys(
      "keys", CommandLine::tr("運転の開始後、これらのキーを 250 ms ごとに一つずつ打つ。"),
      QStringLiteral("KEYS"));
  const QCommandLineOption measure(
      "measure", CommandLine::tr("一秒あたりのステップと描画の回数、CPU の負荷を表示する。"));
  const QCommandLineOption record(
      "record", CommandLine::tr("すべての入力をスクリプトとして記録する。"), file);
  const QCommandLineOption trace("trace", CommandLine::tr("ティックごとに状態の値を一行ずつ書く。"),
                                 file + ".csv");
  const QCommandLineOption serial("serial",
                                  CommandLine::tr("シリアル接続のマスコンを PORT につなぐ。"),
                                  QStringLiteral("PORT"));
  parser.addOptions({help, version, lang, root, train, trainFolder, route, start, startFrame, band,
                     seconds, screenshot, screenshotScale, keys, measure, record, trace, serial});
  parser.addPositionalArgument(
      "1", CommandLine::tr("最初の引数として: 1 は値の欄のある表示、ほかは通常の表示。"), "[1]");

  ParsedCommandLine result;
  Arguments& a = result.arguments;
  if (!parser.parse(args)) {
    printError(parser.errorText());
    result.exitStatus = 2;
    return result;
  }
  if (parser.isSet(help)) {
    // The first line names the program as it was started; the help names it as it is called.
    QString text = parser.helpText();
    text.replace(0, text.indexOf('\n'), CommandLine::tr("使い方: velimoro [1] [オプション]"));
    std::fputs(text.toUtf8().constData(), stdout);
    result.exitStatus = 0;
    return result;
  }
  if (parser.isSet(version)) {
    std::printf("velimoro %s\n", VELIMORO_VERSION);
    result.exitStatus = 0;
    return result;
  }
  // A first argument that is no option chooses the display: exactly "1" is the band display,
  // anything else the normal one. No other argument stands alone.
  const QStringList positional = parser.positionalArguments();
  const bool displayChosen = args.size() > 1 && !positional.isEmpty() && args[1] == positional[0];
  a.band = displayChosen && args[1] == QLatin1String("1");
  for (qsizetype i = displayChosen ? 1 : 0; i < positional.size(); ++i) {
    printError(CommandLine::tr("余分な引数 '%1' があります").arg(positional[i]));
    result.exitStatus = 2;
    return result;
  }
  if (parser.isSet(lang) && !media::parseLanguage(parser.value(lang).toStdString())) {
    printError(CommandLine::tr("--lang には ja か en を指定してください（'%1' ではなく）")
                   .arg(parser.value(lang)));
    result.exitStatus = 2;
    return result;
  }
  a.band = a.band || parser.isSet(band);
  a.measure = parser.isSet(measure);
  if (parser.isSet(root)) {
    a.setup.root = parser.value(root).toStdString();
    a.rootGiven = true;
  }
  a.setup.trainFile = parser.value(train).toStdString();
  a.setup.trainFolder = parser.value(trainFolder).toStdString();
  a.setup.routeFile = parser.value(route).toStdString();
  bool ok = true;
  if (parser.isSet(start)) a.setup.startIndex = parser.value(start).toInt(&ok);
  if (!ok) {
    printError(CommandLine::tr("--start には整数を指定してください（'%1' ではなく）")
                   .arg(parser.value(start)));
    result.exitStatus = 2;
    return result;
  }
  if (parser.isSet(startFrame)) {
    a.setup.startFrame = parser.value(startFrame).toInt(&ok);
    if (!ok || a.setup.startFrame < 0) {
      printError(
          CommandLine::tr("--start-frame にはフレーム番号を指定してください（'%1' ではなく）")
              .arg(parser.value(startFrame)));
      result.exitStatus = 2;
      return result;
    }
  }
  if (parser.isSet(seconds)) {
    a.seconds = parser.value(seconds).toDouble(&ok);
    a.timed = true;
    if (!ok || !(a.seconds >= 0) || a.seconds > 1e6) {
      printError(CommandLine::tr("--seconds には秒数を指定してください（'%1' ではなく）")
                     .arg(parser.value(seconds)));
      result.exitStatus = 2;
      return result;
    }
  }
  if (parser.isSet(screenshotScale)) {
    a.screenshotScale = parser.value(screenshotScale).toDouble(&ok);
    if (!ok || !(a.screenshotScale >= 1) || a.screenshotScale > 4) {
      printError(CommandLine::tr(
                     "--screenshot-scale には 1 から 4 の倍率を指定してください（'%1' ではなく）")
                     .arg(parser.value(screenshotScale)));
      result.exitStatus = 2;
      return result;
    }
  }
  a.screenshot = parser.value(screenshot);
  a.keys = parser.value(keys);
  a.record = parser.value(record);
  a.trace = parser.value(trace);
  a.serial = parser.value(serial);
  if (a.setup.trainFile.empty() != a.setup.routeFile.empty()) {
    printError(CommandLine::tr("--train と --route は一緒に指定してください"));
    result.exitStatus = 2;
  }
  return result;
}

}  // namespace velimoro::shell
