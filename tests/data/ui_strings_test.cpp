#include "data/ui_strings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/data_error.h"
#include "support/test_support.h"

namespace velimoro {
namespace {

using testing::crlfLines;
using testing::TempDir;

constexpr const char* kFileError = "stringファイルに誤りがあります";

struct UiStringsTest : ::testing::Test {
  TempDir dir;

  UiStrings read(const std::vector<std::string>& lines) {
    dir.writeCp932("dorvanel.dat", crlfLines(lines));
    return readUiStrings(dir.path() + "/");
  }
  std::string failure() {
    try {
      readUiStrings(dir.path() + "/");
    } catch (const DataError& e) {
      return e.what();
    }
    return "no error";
  }
};

TEST_F(UiStringsTest, ReadsEveryTextAndCaption) {
  const std::pair<const char*, std::string UiStrings::*> keys[] = {
      {"[Path]", &UiStrings::Path},         {"[Forward]", &UiStrings::Forward},
      {"[Neutral]", &UiStrings::Neutral},   {"[Reverse]", &UiStrings::Reverse},
      {"[Stop]", &UiStrings::Stop},         {"[Pass]", &UiStrings::Pass},
      {"[Stop2]", &UiStrings::Stop2},       {"[Neut]", &UiStrings::Neut},
      {"[Neut2]", &UiStrings::Neut2},       {"[Apply]", &UiStrings::Apply},
      {"[Maintain]", &UiStrings::Maintain}, {"[Hold]", &UiStrings::Hold},
      {"[Hold2]", &UiStrings::Hold2},       {"[EB]", &UiStrings::EB},
      {"[Start]", &UiStrings::Start},       {"[Move]", &UiStrings::Move},
      {"[Display]", &UiStrings::Display},   {"[Control]", &UiStrings::Control},
      {"[Save]", &UiStrings::Save}};
  // Each key gets its own text, "値" and its position; the file lists them backwards.
  std::vector<std::string> lines = {"; 表示文字列"};
  for (int i = static_cast<int>(std::size(keys)) - 1; i >= 0; --i) {
    lines.push_back(keys[i].first);
    lines.push_back("値" + std::to_string(i));
  }
  const UiStrings s = read(lines);
  for (std::size_t i = 0; i < std::size(keys); ++i) {
    EXPECT_EQ(s.*keys[i].second, "値" + std::to_string(i)) << keys[i].first;
  }
}

TEST_F(UiStringsTest, MissingKeysLeaveTextsEmptyAndCaptionsAsDesigned) {
  const UiStrings s = read({"[EB]", "非常"});
  EXPECT_EQ(s.EB, "非常");
  EXPECT_EQ(s.Forward, "");
  EXPECT_EQ(s.Neut, "");
  EXPECT_EQ(s.Hold2, "");
  EXPECT_EQ(s.Path, "");
  EXPECT_EQ(s.Start, "Start");
  EXPECT_EQ(s.Move, "Move");
  EXPECT_EQ(s.Display, "Display");
  EXPECT_EQ(s.Control, "Controller(&C)");
  EXPECT_EQ(s.Save, "Save(&S)");
}

TEST_F(UiStringsTest, KeysMatchTheLineStartCaseSensitivelyAndValuesStandAsWritten) {
  const UiStrings s = read({"[EB] 非常ブレーキ", " 非常 ", "[eb]", "x", "[Neut]", "切", "[Neut]",
                            "開放", "[Start]", "", "[Forward]"});
  EXPECT_EQ(s.EB, " 非常 ");  // no trimming
  EXPECT_EQ(s.Neut, "開放");  // the last of a repeated key
  EXPECT_EQ(s.Start, "");     // an empty value line replaces the caption
  EXPECT_EQ(s.Forward, "");   // a key on the last line: nothing to read
}

TEST_F(UiStringsTest, AValueLineIsTestedAgainstTheKeysAfterItsOwn) {
  // The value of "[Forward]" reads "[Reverse]", which the later key "[Reverse]" then takes as
  // its header; "[Path]" comes before "[Forward]", so its header as a value is only a value.
  const UiStrings s = read({"[Forward]", "[Reverse]", "後進", "[Neutral]", "[Path]", "x"});
  EXPECT_EQ(s.Forward, "[Reverse]");
  EXPECT_EQ(s.Reverse, "後進");
  EXPECT_EQ(s.Neutral, "[Path]");
  EXPECT_EQ(s.Path, "");
}

TEST_F(UiStringsTest, AMissingOrUnreadableFileIsTheStringFileErrorNamingTheFileAndLine) {
  EXPECT_EQ(failure(), std::string(kFileError) + ":dorvanel.dat");
  dir.writeBytes("dorvanel.dat", "[EB]\r\n\x81\x20\r\n");  // not CP932
  EXPECT_EQ(failure(), std::string(kFileError) + ":dorvanel.dat:2");
  dir.writeBytes("dorvanel.dat", "[Path]\r\nmove\\\r\n" + std::string(70000, 'x') + "\r\n");
  EXPECT_EQ(failure(), std::string(kFileError) + ":dorvanel.dat:3");
}

TEST_F(UiStringsTest, FindsTheFileWhateverItsLetterCase) {
  dir.writeCp932("DORVANEL.DAT", crlfLines({"[EB]", "非常"}));
  EXPECT_EQ(readUiStrings(dir.path() + "/").EB, "非常");
}

TEST(UiStrings, VideoFileNameJoinsThePathTextAsItStands) {
  UiStrings s;
  EXPECT_EQ(videoFileName(s, "line_in"), "line_in.avi");
  s.Path = "move\\";
  EXPECT_EQ(videoFileName(s, "line_in"), "move\\line_in.avi");
  s.Path = "move";  // no separator added
  EXPECT_EQ(videoFileName(s, "line_in"), "moveline_in.avi");
}

// The ".avi" file when there is one, else another container of the same name, else the ".avi"
// name, whose open fails with it.
TEST(UiStrings, TheVideoIsTheAviFileElseAnotherContainerOfItsName) {
  TempDir dir;
  UiStrings s;
  s.Path = "move\\";
  EXPECT_EQ(findVideoFileName(dir.path(), s, "line_in"), "move\\line_in.avi");
  dir.writeBytes("move/line_in.webm", "");
  dir.writeBytes("move/LINE_IN.MKV", "");
  EXPECT_EQ(findVideoFileName(dir.path(), s, "line_in"), "move\\line_in.mkv");
  dir.writeBytes("move/line_in.mp4", "");
  EXPECT_EQ(findVideoFileName(dir.path(), s, "line_in"), "move\\line_in.mp4");
  dir.writeBytes("move/Line_In.avi", "");
  EXPECT_EQ(findVideoFileName(dir.path(), s, "line_in"), "move\\line_in.avi");
}

TEST(UiStrings, TheSampleRootHasHandleTexts) {
  const UiStrings s = readUiStrings(std::string(VELIMORO_SOURCE_DIR) + "/samples/sample/");
  EXPECT_EQ(s.Forward, "前進");
  EXPECT_EQ(s.Hold2, "抑速");
  EXPECT_EQ(s.EB, "非常");
  EXPECT_EQ(s.Path, "");
}

}  // namespace
}  // namespace velimoro
