#include "report/report_drive.h"

#include <fstream>
#include <sstream>

#include "cab/session.h"
#include "support/demo_root.h"
#include "support/test_support.h"
#include "tools/content/generator.h"
#include "tools/drive/event_log.h"

namespace velimoro::testing {

ReportedDrive runReportedDrive(const std::string& name, const std::string& train,
                               const std::string& route, double seconds) {
  const std::string scriptPath = VELIMORO_SOURCE_DIR "/tests/golden/" + name + ".txt";
  std::ifstream in(scriptPath);
  const std::vector<ScriptCommand> commands = parseScript(in, scriptPath);

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
  CabSession session(setup, DriveMedia{sound, pictures, messages, nullptr});
  const SimState& s = session.drive().state;

  ReportedDrive drive;
  session.afterTick = [&] {
    drive.trace.push_back(
        TraceRow{s.fast_tick_count, s.position_cm, s.speed, s.ats_warning, s.ats_eb});
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
  const RouteData& data = *session.drive().route;
  for (int i = 0; i < data.stationCount; ++i)
    drive.departTimes.push_back(data.stations[static_cast<std::size_t>(i)].departTime);
  return drive;
}

}  // namespace velimoro::testing
