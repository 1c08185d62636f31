// The run report of whole golden drives, checked against what their traces show: the stop
// position, the times against the timetable, a stop passed at speed, the limit sections and the
// protection events, and the score worked out by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>

#include "cab/report_output.h"
#include "media/qt_language.h"
#include "media/translate.h"
#include "persist/save_slots.h"
#include "report/report_drive.h"
#include "support/test_support.h"
#include "tools/drive/headless.h"

namespace velimoro {
namespace {

using testing::ReportedDrive;
using testing::TraceRow;

const ReportStation& station(const RunReport& report, const std::string& name) {
  const auto found = std::find_if(report.stations.begin(), report.stations.end(),
                                  [&](const ReportStation& s) { return s.name == name; });
  if (found == report.stations.end()) throw std::runtime_error("no station " + name);
  return *found;
}

bool standing(const TraceRow& row) {
  return std::fabs(row.speed) < 0.1L;
}

// The drive stops 39 cm short at its second station and is cut off there, before the run's end.
TEST(RunReport, StopAndTimetableOfAGoldenDriveAsItsTraceShows) {
  const ReportedDrive drive =
      testing::runReportedDrive("electric_local", "train_QT600.dat", "line_up1_local.dat", 300);
  const RunReport& report = drive.report;
  const std::vector<TraceRow>& trace = drive.trace;

  // The train leaves the start station on the first tick it moves.
  const auto moving =
      std::find_if(trace.begin(), trace.end(), [](const TraceRow& row) { return !standing(row); });
  ASSERT_NE(moving, trace.end());
  const ReportStation& start = station(report, "汐見");
  EXPECT_EQ(start.outcome, StationOutcome::kStart);
  EXPECT_EQ(start.departure, moving->tick);
  EXPECT_EQ(start.late(), moving->tick - drive.departTimes[1]);

  // It arrives when its last rest begins, and stands where the trace ends.
  auto rest = trace.end();
  while (rest != trace.begin() && standing(*(rest - 1)))
    --rest;
  const ReportStation& stop = station(report, "青葉台");
  EXPECT_EQ(stop.outcome, StationOutcome::kStopped);
  EXPECT_EQ(stop.arrival, rest->tick);
  ASSERT_TRUE(stop.stopErrorCm);
  EXPECT_NEAR(static_cast<double>(*stop.stopErrorCm),
              static_cast<double>(trace.back().cm - stop.stopCm), 1e-6);
  EXPECT_NEAR(static_cast<double>(*stop.stopErrorCm), -39, 1);
  EXPECT_FALSE(stop.departure);
  // It arrived after its departure time: late by the arrival.
  EXPECT_EQ(stop.late(), rest->tick - drive.departTimes[2]);

  // Cut off before the end: the stations ahead are not reached and not scored.
  EXPECT_FALSE(report.runEnded);
  EXPECT_EQ(station(report, "中央").outcome, StationOutcome::kNotReached);
  long double moved = 0;
  for (std::size_t i = 1; i < trace.size(); ++i)
    moved += std::fabs(trace[i].cm - trace[i - 1].cm);
  EXPECT_NEAR(static_cast<double>(report.distanceCm), static_cast<double>(moved), 1);
  // 31.7 s late away from the start (3 points); 39 cm short (0); arrived 54 s after the
  // departure time (5).
  ASSERT_EQ(report.deductions.size(), 2u);
  EXPECT_EQ(report.score, 100 - 3 - 5);
}

// The drive runs through a stop at 85 km/h and over two limits until the ATS brakes it.
TEST(RunReport, APassedStopLimitsAndProtectionAsTheTraceShows) {
  const ReportedDrive drive =
      testing::runReportedDrive("electric_protection", "train_QT600.dat", "line_up3.dat", 300);
  const RunReport& report = drive.report;
  const std::vector<TraceRow>& trace = drive.trace;

  const ReportStation& passed = station(report, "鏡池");
  EXPECT_EQ(passed.outcome, StationOutcome::kPassed);
  const auto atStop = std::find_if(trace.begin(), trace.end(),
                                   [&](const TraceRow& row) { return row.cm >= passed.stopCm; });
  ASSERT_NE(atStop, trace.end());
  EXPECT_EQ(passed.passSpeed, atStop->speed);
  EXPECT_FALSE(passed.stopErrorCm);

  int exceeded = 0;
  for (const ReportLimit& limit : report.limits) {
    long double top = -1;
    for (const TraceRow& row : trace) {
      if (row.cm >= limit.fromCm && row.cm < limit.toCm) top = std::max(top, std::fabs(row.speed));
    }
    EXPECT_EQ(limit.entered, top >= 0) << limit.limit;
    if (top < 0) continue;
    // The sections run by video frames, the trace by distance: they agree within a frame.
    EXPECT_NEAR(static_cast<double>(limit.topSpeed), static_cast<double>(top), 0.5) << limit.limit;
    exceeded += limit.excess() > 0;
  }
  EXPECT_EQ(exceeded, 2);

  const auto first = [&](bool TraceRow::*flag) {
    return *std::find_if(trace.begin(), trace.end(),
                         [&](const TraceRow& row) { return row.*flag; });
  };
  ASSERT_EQ(report.events.size(), 2u);
  EXPECT_EQ(report.events[0].kind, ReportEventKind::kAtsAlarm);
  EXPECT_EQ(report.events[0].tick, first(&TraceRow::atsWarning).tick);
  EXPECT_EQ(report.events[0].cm, first(&TraceRow::atsWarning).cm);
  EXPECT_EQ(report.events[1].kind, ReportEventKind::kAtsEmergency);
  EXPECT_EQ(report.events[1].tick, first(&TraceRow::atsEb).tick);
  // Late away (33.7 s: 3), a stop passed (20), 27.4 and 39.7 km/h over (20 each, the most a
  // section costs), the alarm (5) and the emergency brake (10).
  EXPECT_EQ(report.score, 100 - 3 - 20 - 20 - 20 - 5 - 10);
}

// A run quit before the train moves still reports: the start station not left, nothing reached,
// and a page with its plot; after a jump, from the station jumped to.
TEST(RunReport, TheHeadlessDriverReportsARunQuitAtOnce) {
  testing::TempDir dir;
  headless::Options o;
  o.root = testing::demoRoot();
  o.train = "train_QT600.dat";
  o.route = "line_up1_local.dat";
  o.start = 1;
  o.script = dir.writeBytes("script.txt", "0 start\n0.5 quit\n");
  o.report = dir.file("report.html");
  std::ostringstream out, err;
  ASSERT_EQ(headless::runDrive(o, out, err), 0) << err.str();
  const std::string page = testing::readFile(o.report);
  EXPECT_NE(page.find("<svg"), std::string::npos);
  EXPECT_NE(page.find("<td class=\"name\">汐見</td><td class=\"name\">運転開始</td>"),
            std::string::npos);
  EXPECT_NE(page.find("運転は終点に着く前に終わりました。"), std::string::npos);
  EXPECT_NE(out.str().find("得点 100"), std::string::npos) << out.str();

  o.report = dir.file("report.json");
  ASSERT_EQ(headless::runDrive(o, out, err), 0) << err.str();
  EXPECT_NE(testing::readFile(o.report).find("\"outcome\": \"not reached\""), std::string::npos);

  // A jump puts the train at another station: the run starts afresh there, the jump no
  // distance driven and the stations behind it no part of the run.
  o.script = dir.writeBytes("jump.txt", "0 start\n1 jump 3\n1.5 quit\n");
  ASSERT_EQ(headless::runDrive(o, out, err), 0) << err.str();
  const std::string jumped = testing::readFile(o.report);
  EXPECT_NE(jumped.find("\"distance_m\": 0.00,"), std::string::npos) << jumped;
  EXPECT_NE(jumped.find("\"stations\": [\n    {\"index\": 3,"), std::string::npos) << jumped;

  o.report = dir.file("no/such/folder/report.json");
  EXPECT_EQ(headless::runDrive(o, out, err), 1);
  EXPECT_NE(err.str().find(o.report), std::string::npos) << err.str();
}

// The first character of `text` that is Japanese (kana, ideographs, full-width forms and
// punctuation), with what follows it; empty when there is none.
std::string japaneseIn(const std::string& text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const std::size_t length = byte < 0x80 ? 1 : byte < 0xE0 ? 2 : byte < 0xF0 ? 3 : 4;
    char32_t code = length == 1 ? byte : byte & (0x3F >> (length - 1));
    for (std::size_t k = 1; k < length && i + k < text.size(); ++k)
      code = code << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    if ((code >= 0x3000 && code <= 0x30FF) || (code >= 0x3400 && code <= 0x9FFF) ||
        (code >= 0xFF00 && code <= 0xFFEF)) {
      return text.substr(i, 60);
    }
    i += length;
  }
  return {};
}

// With English in use, a whole drive's messages, status lines, cab screen texts, driver aids and
// its report (the page with its plot, and the JSON) hold no Japanese but the data files' own.
TEST(RunReport, InEnglishEveryTextOfADriveIsEnglish) {
  struct English {
    English() { media::useLanguage(media::Language::kEnglish); }
    ~English() { media::useLanguage(media::Language::kJapanese); }
  };
  ReportedDrive drive;
  std::ostringstream page, json;
  {
    const English english;
    // Past the golden drive: a save and a restore without a settings store say why they fail.
    drive = testing::runReportedDrive("electric_protection", "train_QT600.dat", "line_up3.dat", 455,
                                      "451 save 1\n452 load 2\n");
    writeReportHtml(page, drive.report);
    writeReportJson(json, drive.report);
  }
  // The texts with the data files' own taken out, the longest first.
  const auto without = [](std::string text, std::vector<std::string> data) {
    std::sort(data.begin(), data.end(),
              [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    for (const std::string& own : data) {
      for (std::size_t at; !own.empty() && (at = text.find(own)) != std::string::npos;)
        text.erase(at, own.size());
    }
    return text;
  };
  std::vector<std::string> cabData = drive.names;
  cabData.insert(cabData.end(), drive.cabWords.begin(), drive.cabWords.end());
  for (const std::string& text : drive.shown)
    EXPECT_EQ(japaneseIn(without(text, cabData)), "") << text;
  for (const std::string& text : {page.str(), json.str()})
    EXPECT_EQ(japaneseIn(without(text, drive.names)), "");
  EXPECT_GT(drive.shown.size(), 1000u);
  EXPECT_NE(page.str().find("<html lang=\"en\">"), std::string::npos);
  EXPECT_NE(page.str().find("ATS emergency brake"), std::string::npos);
  EXPECT_NE(
      std::find(drive.shown.begin(), drive.shown.end(), "message: No drive is saved in this slot"),
      drive.shown.end());
  // Back in Japanese, the texts are the program's own again.
  EXPECT_EQ(media::translate("SaveSlots", kNothingSavedMessage), kNothingSavedMessage);
}

}  // namespace
}  // namespace velimoro
