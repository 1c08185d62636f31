#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cab/drive.h"

namespace velimoro {

class CabSession;

// The driver's run report: how a drive went, gathered tick by tick from the drive's state, so the
// window and the headless driver (replaying a recording) report the same run. It keeps copies of
// the route's stations, limits and signals it needs, so it outlives the drive.

/// What became of a station of the run.
enum class StationOutcome {
  kStart,         // the run started here
  kStopped,       // stood in the stopping window and the station judged the arrival
  kOverran,       // came to rest beyond the window and went on without standing in it
  kPassed,        // a stop passed without standing in its window
  kPassingPoint,  // not a stop: the time it was passed
  kNotReached,    // the run ended before it
};

/// One station of the run. Times are fast-step counts, the timetable clock (30 a second).
struct ReportStation {
  int index = 0;
  std::string name;
  int kind = 0;
  long double stopCm = 0;
  int toleranceCm = 0;
  int scheduledDeparture = 0;  // the route's departure (or passing) time; 0 none given
  StationOutcome outcome = StationOutcome::kNotReached;
  std::optional<int> arrival;    // came to rest for the stop
  std::optional<int> departure;  // first moved after the stop, or passed a passing point
  // Where the train stood against the stop point: positive over, negative short.
  std::optional<long double> stopErrorCm;
  std::optional<long double> passSpeed;  // km/h at the stop point when passed
  int restarts = 0;                      // times it came to rest near the stop before the last

  bool isStop() const { return kind != 1; }
  /// Ticks at the platform, when both ends are known.
  std::optional<int> dwell() const;
  /// Ticks behind the timetable: the departure (or pass) against the scheduled time, or, while
  /// the train has not left, an arrival after the scheduled departure; negative early.
  std::optional<int> late() const;
};

/// A speed-limit section of the route the train ran in.
struct ReportLimit {
  int limit = 0;  // km/h
  long double fromCm = 0;
  long double toCm = 0;
  bool entered = false;
  long double topSpeed = 0;  // highest speed inside the section
  long double topAtCm = 0;
  int topAtTick = 0;

  long double excess() const { return topSpeed > limit ? topSpeed - limit : 0; }
};

/// A protection or emergency event, where it began.
enum class ReportEventKind { kAtsAlarm, kPatternBrake, kAtsEmergency, kDriverEmergency };

struct ReportEvent {
  ReportEventKind kind = ReportEventKind::kAtsAlarm;
  int tick = 0;
  long double cm = 0;
  long double speed = 0;
  std::string cause;  // what applied an automatic brake (brakeCauseName); "" otherwise
  /// The kind, and the cause of an automatic brake in brackets, in the chosen language.
  std::string what() const;
};

/// One point of the driven speed along the line.
struct ReportSample {
  long double cm = 0;
  long double speed = 0;
  int tick = 0;
  bool braking = false;  // the brake notch or the protection applies a brake
};

/// One line of the score: what cost points and how many.
struct ScoreItem {
  std::string what;
  int points = 0;
};

/// The finished report of one run.
struct RunReport {
  std::string lineName;
  std::string trainName;
  std::vector<ReportStation> stations;
  std::vector<ReportLimit> limits;
  std::vector<long double> signalCm;  // lineside signals of the route, along the line
  std::vector<ReportEvent> events;
  std::vector<ReportSample> samples;
  long double startCm = 0;
  long double endCm = 0;
  long double distanceCm = 0;  // driven, both directions counted
  long double topSpeed = 0;
  int startTick = 0;
  int endTick = 0;
  int runningTicks = 0;   // ticks the train moved
  bool runEnded = false;  // the run reached its end (last or crew-change station)
  std::vector<ScoreItem> deductions;
  int score = 100;
};

/// Builds a run report tick by tick. Construct at the start of the drive, call `addTick` after
/// every tick, and `finish` (or `report`) at the end.
class RunReportCollector {
 public:
  explicit RunReportCollector(const Drive& drive);

  /// Takes in the state after one tick.
  void addTick();
  /// Starts the report afresh where the train now stands, the run behind it forgotten: after a
  /// jump to station `startStation`, or (-1) a restored drive, whose run is the stations ahead.
  void restart(int startStation);
  /// The report of the run so far, judged and scored as if it ended now.
  RunReport report() const;

 private:
  void trackStations();
  void trackLimits();
  void trackEvents();
  void addSample(bool force);

  const Drive& m_drive;
  RunReport m_report;
  bool m_wasStanding = true;
  int m_restTick = 0;
  long double m_lastCm = 0;
  bool m_atsWarning = false;
  bool m_patternBrake = false;
  bool m_atsEb = false;
  bool m_driverEb = false;
};

/// Feeds `collector` after every tick of `session`, after whatever ran there before, and starts
/// it afresh when the train is moved to a station or a restored place.
void attachReport(CabSession& session, RunReportCollector& collector);

/// The score rules applied to `report`: fills `deductions` and `score`.
void scoreReport(RunReport& report);

/// The sentences that say how the score is computed, in the chosen language.
std::string scoreRules();

/// "hh:mm:ss" of a timetable clock count.
std::string reportClock(int ticks);

/// "+1:05" or "-0:20" for a signed number of ticks.
std::string reportDelta(int ticks);

/// Where a train came to rest against the stop mark, in the chosen language: "39 cm short",
/// "12 cm over", "on the mark".
std::string reportStopText(long double errorCm);

/// The name of an outcome, and of an event kind, as the report shows them, in the chosen
/// language.
std::string outcomeText(StationOutcome outcome);
std::string eventText(ReportEventKind kind);

/// The outcome and the event kind as the JSON report names them: fixed words for programs.
const char* outcomeKey(StationOutcome outcome);
const char* eventKey(ReportEventKind kind);

}  // namespace velimoro
