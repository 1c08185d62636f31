// The checker program on whole installations: the demo is clean, a damaged copy lists every
// fault, and the findings come out in the compiler form or as JSON lines.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "data/paths.h"
#include "data/text_file.h"
#include "tests/check/check_fixture.h"
#include "tools/check/report.h"
#include "tools/content/generator.h"

namespace velimoro::check {
namespace {

struct CheckerRun {
  int status = -1;
  std::string out;
};

CheckerRun runChecker(const std::string& arguments) {
  CheckerRun run;
  FILE* pipe =
      popen((std::string(VELIMORO_CHECK_EXE) + " " + arguments + " 2>/dev/null").c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
    run.out.append(buffer, got);
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

// Replaces the line after the first one that starts with `header` in the data file at `path`
// by `edit` of it; returns the replaced line's number and its new text.
std::pair<int, std::string> editAfter(const std::string& path, std::string_view header,
                                      const std::function<std::string(const std::string&)>& edit) {
  TextFileReader file;
  EXPECT_TRUE(file.open(path));
  Lines lines;
  for (std::string line; file.readLine(line) == TextFileReader::Line::kRead;)
    lines.push_back(line);
  std::size_t at = 0;
  while (at + 1 < lines.size() && !lines[at].starts_with(header))
    ++at;
  lines[at + 1] = edit(lines[at + 1]);
  std::ofstream(path, std::ios::binary)
      << velimoro::testing::toCp932(velimoro::testing::crlfLines(lines));
  return {static_cast<int>(at) + 2, lines[at + 1]};
}

TEST(Installation, TheDemoIsCleanAndADamagedCopyListsEveryFault) {
  velimoro::testing::TempDir demo;
  std::ostringstream progress;
  content::generateDemo(demo.path(), progress, false);
  const CheckerRun clean = runChecker("--no-video --root " + demo.path());
  EXPECT_EQ(clean.status, 0);
  EXPECT_EQ(clean.out, "");

  const std::string route = demo.file("line_up2.dat");
  const std::string train = demo.file("train_QT600.dat");
  const auto station = editAfter(
      route, "[Station]", [](const std::string& s) { return s.substr(0, s.find(',')) + ",0,x"; });
  const auto signal = editAfter(route, "[Signal]", [](const std::string& s) { return s + "x"; });
  const auto brake = editAfter(train, "[Brake]", [](const std::string&) { return "九"; });
  const auto sound = editAfter(train, "[DriveSound]", [](const std::string& s) { return s; });
  ASSERT_TRUE(std::filesystem::remove(joinDataPath(demo.path(), sound.second)));

  const std::string e = ": error: ";
  const auto at = [&](const std::string& file, int line) {
    return file + ":" + std::to_string(line) + e;
  };
  const CheckerRun damaged = runChecker("--no-video --root " + demo.path());
  EXPECT_EQ(damaged.status, 1);
  EXPECT_EQ(damaged.out,
            at(route, station.first) + "路線ファイルに誤りがあります。[Station]:" + station.second +
                "\n" + at(route, signal.first) + "路線ファイルに誤りがあります。[Signal]:" +
                signal.second + "\n" + at(train, brake.first) +
                "車両ファイルに誤りがあります- 列車の基本設定\n" + at(train, sound.first) +
                "sound \"" + sound.second + "\" is missing; the drive does not start without it\n");

  const CheckerRun json = runChecker("--json --no-video " + train);
  EXPECT_EQ(json.status, 1);
  std::string escaped;
  for (const char c : sound.second)
    escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
  EXPECT_EQ(json.out.substr(json.out.find('\n') + 1),
            "{\"file\":\"" + train + "\",\"line\":" + std::to_string(sound.first) +
                ",\"severity\":\"error\",\"message\":\"sound \\\"" + escaped +
                "\\\" is missing; the drive does not start without it\"}\n");

  EXPECT_EQ(runChecker("--root").status, 2);
  EXPECT_EQ(runChecker("--root " + demo.file("nowhere")).status, 2);
  EXPECT_EQ(runChecker("--unknown " + train).status, 2);
}

TEST(Installation, FindingsOfTheWholeFileLeaveTheLineOutAndJsonEscapesWhatItMust) {
  const Findings findings = {{"a.dat", 0, false, "stringファイルに誤りがあります"},
                             {"b\\c.dat", 7, true, "\"x\"\t\xff"}};
  std::ostringstream text;
  writeText(findings, text);
  EXPECT_EQ(text.str(),
            "a.dat: error: stringファイルに誤りがあります\nb\\c.dat:7: warning: \"x\"\t\xff\n");
  std::ostringstream json;
  writeJsonLines(findings, json);
  EXPECT_EQ(json.str(),
            "{\"file\":\"a.dat\",\"line\":0,\"severity\":\"error\",\"message\":\"string"
            "ファイルに誤りがあります\"}\n{\"file\":\"b\\\\c.dat\",\"line\":7,\"severity\":"
            "\"warning\",\"message\":\"\\\"x\\\"\\u0009\\ufffd\"}\n");
}

}  // namespace
}  // namespace velimoro::check
