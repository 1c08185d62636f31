#include "report/report_drive.h"

#include <fstream>
#include <sstream>

#include "cab/session.h"
#include "present/aid_overlay.h"
#include "support/demo_root.h"
#include "support/test_support.h"
#include "tools/content/generator.h"
#include "tools/drive/event_log.h"

namespace velimoro::testing {

ReportedDrive runReportedDrive(const std::string& name, const std::string& train,
                               const std::string& route, double seconds, const std::string& more) {
  const std::string scriptPath = VELIMORO_SOURCE_DIR "/tests/golden/" + name + ".txt";
  std::ifstream in(scriptPath);
  std::vector<ScriptCommand> commands = parseScript(in, scriptPath);
  std::istringstream moreIn(more);
  for (ScriptCommand& command : parseScript(moreIn, "more"))
    commands.push_back(std::move(command));

  headless::EventLog log;
  headless::LoggingSoundLayer sound(log);
  std::ostringstream messageText;
  headless::LoggingMessages messages(log, messageText);
  media::FileCheckPictureLoader pictures;
  DriveSetup setup;
  setup.root = demoRoot();
  setup.trainFile = train;
  setup.routeFile = route;
  setup.startIndex = 1;
  setup.settings.ats = 0;
  ReportedDrive drive;
  const auto status = [&drive](const std::string& text) { drive.shown.push_back(text); };
  CabSession session(setup, DriveMedia{sound, pictures, messages, status});
  const SimState& s = session.drive().state;

  session.afterTick = [&] {
    drive.trace.push_back(
        TraceRow{s.fast_tick_count, s.position_cm, s.speed, s.ats_warning, s.ats_eb});
    for (const std::string* text :
         {&s.reverser_text, &s.power_text, &s.brake_text, &s.gear_text, &s.slip_text,
          &s.pattern_text, &s.traffic_stop_text, &s.traffic_detect_text, &s.next_station_text,
          &s.crew_text, &s.status_text, &s.guidance_shown}) {
      if (!text->empty()) drive.shown.push_back(*text);
    }
    for (const AidLine& line : aidLines(session.drive()))
      drive.shown.push_back(line.text);
  };
  RunReportCollector collector(session.drive());
  attachReport(session, collector);
  const auto endMs = static_cast<std::int64_t>(seconds * 1000);
  for (const ScriptCommand& command : commands) {
    session.runUntil(command.atMs);
    session.execute(command);
  }
  session.runUntil(endMs + 1);
  drive.report = collector.report();
  std::istringstream shownMessages(messageText.str());
  for (std::string line; std::getline(shownMessages, line);)
    drive.shown.push_back(line);

  const Drive& done = session.drive();
  const RouteData& data = *done.route;
  for (int i = 0; i < data.stationCount; ++i) {
    drive.departTimes.push_back(data.stations[static_cast<std::size_t>(i)].departTime);
    drive.names.push_back(data.stations[static_cast<std::size_t>(i)].name);
  }
  const UiStrings& strings = done.strings;
  drive.names.insert(drive.names.end(), {data.lineName, data.lineName2});
  drive.cabWords = {strings.Forward, strings.Neutral,  strings.Reverse, strings.Stop,
                    strings.Pass,    strings.Stop2,    strings.Neut,    strings.Neut2,
                    strings.Apply,   strings.Maintain, strings.Hold,    strings.Hold2,
                    strings.EB};
  for (const PowerMode& mode : done.train->PowerModes) {
    drive.cabWords.push_back(mode.name);
    drive.cabWords.push_back(mode.prefix);
  }
  return drive;
}

}  // namespace velimoro::testing
