// The simulator's window program. Until the title screen exists it opens the cab window of one
// drive, chosen on the command line.
#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>
#include <cstdio>

#include "data/data_error.h"
#include "shell/cab_window.h"

namespace {

struct Arguments {
  velimoro::DriveSetup setup;
  QString screenshot;  // write the screen here after `seconds` of driving and quit
  double seconds = 5;
};

Arguments parseArguments(const QStringList& args) {
  Arguments a;
  a.setup.root = ".";
  for (int i = 1; i + 1 < args.size(); i += 2) {
    const QString& flag = args[i];
    const std::string value = args[i + 1].toStdString();
    if (flag == "--root") a.setup.root = value;
    if (flag == "--train") a.setup.trainFile = value;
    if (flag == "--train-folder") a.setup.trainFolder = value;
    if (flag == "--route") a.setup.routeFile = value;
    if (flag == "--start") a.setup.startIndex = args[i + 1].toInt();
    if (flag == "--screenshot") a.screenshot = args[i + 1];
    if (flag == "--seconds") a.seconds = args[i + 1].toDouble();
  }
  return a;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("鉄道運転シミュレータ"));
  const Arguments args = parseArguments(QApplication::arguments());
  if (args.setup.trainFile.empty() || args.setup.routeFile.empty()) {
    std::fprintf(stderr,
                 "usage: velimoro --root DIR --train FILE --route FILE [--train-folder DIR] "
                 "[--start N] [--screenshot FILE.png --seconds S]\n");
    return 2;
  }
  std::unique_ptr<velimoro::shell::CabWindow> window;
  try {
    window = std::make_unique<velimoro::shell::CabWindow>(args.setup, !args.screenshot.isEmpty());
  } catch (const velimoro::DataError& e) {
    QMessageBox::critical(nullptr, QStringLiteral("鉄道運転シミュレータ"),
                          QString::fromStdString(e.what()));
    return 1;
  }
  window->show();
  if (!args.screenshot.isEmpty()) {
    // Drive for a while, then keep what the screen shows.
    window->toggleStart();
    QTimer::singleShot(static_cast<int>(args.seconds * 1000), [&] {
      window->screen().save(args.screenshot);
      app.quit();
    });
  }
  return app.exec();
}
