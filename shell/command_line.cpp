#include "shell/command_line.h"

#include <QCommandLineParser>
#include <cstdio>

namespace velimoro::shell {
namespace {

constexpr const char* kExamples =
    "Examples:\n"
    "  velimoro                       the title screen on the data root found\n"
    "  velimoro --root ~/trains --train train_QT600.dat --route line_up2.dat\n"
    "                                 the cab window of one drive\n"
    "The data root is --root, else the program's folder or the current folder holding\n"
    "dorvanel.dat, else the user's data folder (velimoro under XDG_DATA_HOME), where the demo\n"
    "installation is rendered on the first start.";

void printError(const QString& text) {
  std::fprintf(stderr, "velimoro: %s\nTry 'velimoro --help'.\n", text.toLocal8Bit().constData());
}

}  // namespace

ParsedCommandLine parseCommandLine(const QStringList& args) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QString::fromUtf8(
          "鉄道運転シミュレータ (railway driving simulator) %1: the title screen, or the cab "
          "window of one drive.\n%2")
          .arg(QStringLiteral(VELIMORO_VERSION), kExamples));
  const QCommandLineOption help({"h", "help"}, "Show this help and exit.");
  const QCommandLineOption version({"v", "version"}, "Show the version and exit.");
  const QCommandLineOption root("root", "The data root (the folder holding dorvanel.dat).", "DIR");
  const QCommandLineOption train("train", "The train data file: opens its cab window.", "FILE");
  const QCommandLineOption trainFolder("train-folder", "The folder of the train data file.", "DIR");
  const QCommandLineOption route("route", "The route data file of the drive.", "FILE");
  const QCommandLineOption start("start", "Start at station N (0 the route's start).", "N");
  const QCommandLineOption startFrame(
      "start-frame", "Start standing at video frame F, the stations before it left.", "F");
  const QCommandLineOption band("band", "Show the twelve value labels under the screen.");
  const QCommandLineOption seconds("seconds", "Run S seconds unattended, then quit.", "S");
  const QCommandLineOption screenshot("screenshot", "Save the picture on quitting.", "FILE.png");
  const QCommandLineOption screenshotScale(
      "screenshot-scale", "Compose the screen at S times its size (1 to 4) and save it so.", "S");
  const QCommandLineOption keys("keys", "Type these keys, one every 250 ms, after the start.",
                                "KEYS");
  const QCommandLineOption measure("measure", "Print steps, passes and CPU load a second.");
  const QCommandLineOption record("record", "Record every input as a script.", "FILE");
  const QCommandLineOption trace("trace", "Write one row of state fields a tick.", "FILE.csv");
  const QCommandLineOption serial("serial", "Connect the serial master controller on PORT.",
                                  "PORT");
  parser.addOptions({help, version, root, train, trainFolder, route, start, startFrame, band,
                     seconds, screenshot, screenshotScale, keys, measure, record, trace, serial});
  parser.addPositionalArgument(
      "1", "As the first argument: 1 the band display, anything else the normal one.", "[1]");

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
    text.replace(0, text.indexOf('\n'), QStringLiteral("Usage: velimoro [1] [options]"));
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
    printError(QStringLiteral("unexpected argument '%1'").arg(positional[i]));
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
    printError(QStringLiteral("--start needs a whole number, not '%1'").arg(parser.value(start)));
    result.exitStatus = 2;
    return result;
  }
  if (parser.isSet(startFrame)) {
    a.setup.startFrame = parser.value(startFrame).toInt(&ok);
    if (!ok || a.setup.startFrame < 0) {
      printError(QStringLiteral("--start-frame needs a frame number, not '%1'")
                     .arg(parser.value(startFrame)));
      result.exitStatus = 2;
      return result;
    }
  }
  if (parser.isSet(seconds)) {
    a.seconds = parser.value(seconds).toDouble(&ok);
    a.timed = true;
    if (!ok || !(a.seconds >= 0) || a.seconds > 1e6) {
      printError(QStringLiteral("--seconds needs a duration, not '%1'").arg(parser.value(seconds)));
      result.exitStatus = 2;
      return result;
    }
  }
  if (parser.isSet(screenshotScale)) {
    a.screenshotScale = parser.value(screenshotScale).toDouble(&ok);
    if (!ok || !(a.screenshotScale >= 1) || a.screenshotScale > 4) {
      printError(QStringLiteral("--screenshot-scale needs a scale from 1 to 4, not '%1'")
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
    printError(QStringLiteral("--train and --route go together"));
    result.exitStatus = 2;
  }
  return result;
}

}  // namespace velimoro::shell
