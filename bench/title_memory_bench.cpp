// Resident memory of the title screen before, during and after drives from its menu, on a data
// root with route videos: what a finished drive leaves behind on the menu.
// usage: title_memory_bench ROOT [SECONDS]   (offscreen; XDG_CONFIG_HOME set by bench/title-memory)
#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "media/qt_settings_store.h"
#include "present/title.h"
#include "shell/title_window.h"

namespace {

void runEvents(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

long residentKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  }
  return -1;
}

void say(const char* when) {
  std::printf("%-28s VmRSS %6.1f MB\n", when, static_cast<double>(residentKb()) / 1024.0);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace velimoro;
  if (argc < 2) {
    std::fprintf(stderr, "usage: title_memory_bench ROOT [SECONDS]\n");
    return 2;
  }
  const int seconds = argc > 2 ? std::atoi(argv[2]) : 20;
  QApplication app(argc, argv);
  media::QtSettingsStore store;
  shell::TitleWindow title(argv[1], shell::CabOptions{true, false, {}}, store, 0);
  title.show();
  title.pressAt(400, 300, false);
  title.pressAt(400, 300, false);
  while (title.flow().timerRunning())
    runEvents(50);
  runEvents(1000);
  say("menu, before any drive");
  for (int drive = 1; drive <= 3; ++drive) {
    // line_up1_rapid with the electric train: brake off, full power, the video decoded each pass.
    title.pressAt(60, routeButtonBox(1).y + 10, false);
    title.pressAt(kTrainButtons[0].x + 20, kTrainButtons[0].y + 20, false);
    shell::CabWindow* cab = title.cabWindow();
    if (cab == nullptr) return 1;
    cab->toggleStart();
    for (char key : std::string(",,,,,,,,,zzzzz")) {
      cab->typeKey(key);
      runEvents(250);
    }
    runEvents(seconds * 1000);
    say(("drive " + std::to_string(drive) + ", running").c_str());
    cab->close();
    runEvents(3000);
    say(("drive " + std::to_string(drive) + ", menu after").c_str());
  }
  return title.cabWindow() == nullptr ? 0 : 1;
}
