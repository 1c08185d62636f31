// The checker program on whole installations: the demo is clean, a damaged copy lists every
// fault in Japanese or English, and the findings come out in the compiler form or as JSON lines.
// The command-line programs' help in either language.

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

struct ProgramRun {
  int status = -1;
  std::string out;
};

// Runs a shell command line and returns its exit status and what it wrote to its output.
ProgramRun runProgram(const std::string& command) {
  ProgramRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
    run.out.append(buffer, got);
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

ProgramRun runChecker(const std::string& arguments) {
  return runProgram(std::string(VELIMORO_CHECK_EXE) + " " + arguments + " 2>/dev/null");
}

Lines linesOf(const std::string& text) {
  Lines lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

// The runs of Japanese characters (kana, kanji, Japanese punctuation, full-width forms) in the
// UTF-8 `text`.
Lines japaneseIn(std::string_view text) {
  Lines runs;
  std::string run;
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
    const bool japanese = i + 2 < text.size() && ((byte(0) >= 0xE3 && byte(0) <= 0xE9) ||
                                                  (byte(0) == 0xEF && byte(1) >= 0xBC));
    if (japanese) {
      run += text.substr(i, 3);
      i += 3;
      continue;
    }
    if (!run.empty()) runs.push_back(std::move(run));
    run.clear();
    ++i;
  }
  if (!run.empty()) runs.push_back(run);
  return runs;
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

TEST(Installation, TheDemoIsCleanAndADamagedCopyListsEveryFaultInEitherLanguage) {
  velimoro::testing::TempDir demo;
  std::ostringstream progress;
  content::generateDemo(demo.path(), progress, false);
  const ProgramRun clean = runChecker("--no-video --root " + demo.path());
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
  ASSERT_TRUE(std::filesystem::remove(demo.file("mascon.dat")));

  const std::string e = ": error: ";
  const auto at = [&](const std::string& file, int line) {
    return file + ":" + std::to_string(line) + e;
  };
  const ProgramRun damaged = runChecker("--lang ja --no-video --root " + demo.path());
  EXPECT_EQ(damaged.status, 1);
  EXPECT_EQ(
      damaged.out,
      demo.file("mascon.dat") +
          ": warning: mascon.datがありません。シリアル接続のマスコンのコードが定まりません\n" +
          at(route, station.first) + "路線ファイルに誤りがあります。[Station]:" + station.second +
          "\n" + at(route, signal.first) + "路線ファイルに誤りがあります。[Signal]:" +
          signal.second + "\n" + at(train, brake.first) +
          "車両ファイルに誤りがあります- 列車の基本設定\n" + at(train, sound.first) + "音声「" +
          sound.second + "」がありません。これがないと運転を始められません\n");

  // In English each finding keeps its place, and the only Japanese left is that of the data:
  // file names and texts of the files, or a message the program shows as its data readers give
  // it (which the same run in Japanese prints alike). The checker's own findings are all
  // translated.
  std::string data = demo.path();
  for (const auto& entry : std::filesystem::recursive_directory_iterator(demo.path())) {
    TextFileReader file;
    if (entry.path().extension() != ".dat" || !file.open(entry.path().string())) continue;
    for (std::string line; file.readLine(line) != TextFileReader::Line::kEnd;)
      data += line + "\n";
  }
  const ProgramRun english = runChecker("--lang en --no-video --root " + demo.path());
  EXPECT_EQ(english.status, 1);
  const Lines ja = linesOf(damaged.out);
  const Lines en = linesOf(english.out);
  ASSERT_EQ(en.size(), ja.size()) << english.out;
  int translated = 0;
  for (std::size_t i = 0; i < en.size(); ++i) {
    const std::size_t severity = ja[i].find(": ", ja[i].find(": ") + 1);
    EXPECT_EQ(en[i].substr(0, severity), ja[i].substr(0, severity));
    bool onlyData = true;
    for (const std::string& run : japaneseIn(en[i]))
      onlyData = onlyData && data.find(run) != std::string::npos;
    EXPECT_TRUE(onlyData || en[i] == ja[i]) << en[i];
    translated += onlyData && en[i] != ja[i] ? 1 : 0;
  }
  EXPECT_GE(translated, 2) << english.out;

  const ProgramRun json = runChecker("--lang en --json --no-video " + train);
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
  EXPECT_EQ(runChecker("--lang fr " + train).status, 2);
}

// Each command-line program's help in English holds no Japanese, and in Japanese all its prose
// is Japanese. Without --lang the stored language holds, else the locale's.
TEST(Installation, EachProgramsHelpIsInOneLanguage) {
  velimoro::testing::TempDir english, none;
  english.writeBytes("Dorvanel/velimoro.ini", "[General]\nLanguage=en\n");
  for (const std::string program : {VELIMORO_CHECK_EXE, VELIMORO_DRIVE_EXE, VELIMORO_CONTENT_EXE}) {
    const std::string name = std::filesystem::path(program).filename().string();
    const auto help = [&](const velimoro::testing::TempDir& config, const char* locale,
                          const std::string& lang) {
      const ProgramRun run =
          runProgram("env XDG_CONFIG_HOME=" + config.path() + " LC_ALL=" + locale + " " + program +
                     lang + " --help 2>&1");
      EXPECT_EQ(run.status, 0) << run.out;
      return run.out;
    };
    const std::string en = help(english, "C", "");
    EXPECT_TRUE(en.starts_with("Usage: " + name)) << en;
    EXPECT_EQ(japaneseIn(en), Lines{}) << en;
    EXPECT_EQ(help(none, "en_US.UTF-8", ""), en);

    const std::string ja = help(english, "en_US.UTF-8", " --lang ja");
    EXPECT_TRUE(ja.starts_with("使い方: " + name)) << ja;
    for (const std::string& line : linesOf(ja))
      EXPECT_TRUE(line.starts_with(' ') || !japaneseIn(line).empty()) << line;
    EXPECT_EQ(help(none, "C", ""), ja);
  }
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
