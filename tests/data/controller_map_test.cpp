// The controller map and the help text: the two small files beside the data files.

#include "data/controller_map.h"

#include <gtest/gtest.h>

#include <string>

#include "data/data_error.h"
#include "data/help_text.h"
#include "support/test_support.h"

namespace velimoro {
namespace {

using testing::crlfLines;
using testing::splitBars;
using testing::TempDir;

template <typename Read>
std::string failure(Read read) {
  try {
    read();
  } catch (const DataError& e) {
    return e.what();
  }
  return "no error";
}

TEST(ControllerMap, KeepsTheLinesBeforeTheFirstHashLineAndAtMost26) {
  TempDir dir;
  EXPECT_EQ(failure([&] { readControllerMap(dir.path()); }), "mascon.datが見つかりません");
  dir.writeCp932("mascon.dat", crlfLines(splitBars("#|MP1")));
  EXPECT_EQ(readControllerMap(dir.path()).MapLineCount, 0);
  dir.writeCp932("mascon.dat", crlfLines(splitBars("MP1|MP2||MN")));
  const ControllerMap map = readControllerMap(dir.path());
  EXPECT_EQ(map.MapLineCount, 4);
  EXPECT_EQ(map.MapLines[1], "MP2");
  EXPECT_EQ(map.MapLines[3], "MN");

  std::string many;
  for (int i = 1; i <= 30; ++i)
    many += "C" + std::to_string(i) + "\r\n";
  dir.writeCp932("mascon.dat", many);
  ReadLog log;
  EXPECT_EQ(readControllerMap(dir.path(), &log).MapLines[25], "C26");
  ASSERT_EQ(log.notes().size(), 1u);
  EXPECT_EQ(log.notes()[0].line, 27);
  EXPECT_TRUE(log.notes()[0].warning);

  dir.writeBytes("mascon.dat", "MP1\r\n\x81\x20\r\n");
  EXPECT_EQ(failure([&] { readControllerMap(dir.path()); }), "mascon.datに誤りがあります");
}

TEST(HelpText, TheFirstLineIsTheCaptionAndTheRestTheText) {
  TempDir dir;
  EXPECT_EQ(failure([&] { readHelpText(dir.path()); }), "operation.datが見つかりません");
  dir.writeCp932("operation.dat", crlfLines(splitBars("操作説明|運転の始め方||  F で前進")));
  const HelpText help = readHelpText(dir.path());
  EXPECT_EQ(help.caption, "操作説明");
  EXPECT_EQ(help.text, "運転の始め方\n\n  F で前進\n");
  dir.writeBytes("operation.dat", "Help\r\n\x81\x20\r\n");
  EXPECT_EQ(failure([&] { readHelpText(dir.path()); }), "operation.datに誤りがあります");

  // A huge file is shown up to the limit.
  std::string huge = "Help\r\n";
  while (huge.size() < 2 * HelpText::kMaxBytes)
    huge += std::string(99, 'x') + "\r\n";
  dir.writeBytes("operation.dat", huge);
  const std::size_t shown = readHelpText(dir.path()).text.size();
  EXPECT_LE(shown, HelpText::kMaxBytes);
  EXPECT_GT(shown, HelpText::kMaxBytes - 100);
}

}  // namespace
}  // namespace velimoro
