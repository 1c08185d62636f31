#include "data/text_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "data/paths.h"
#include "support/test_support.h"

namespace velimoro {
namespace {

using testing::TempDir;

std::vector<std::string> readAll(const std::string& path, bool* bad = nullptr) {
  TextFileReader reader;
  EXPECT_TRUE(reader.open(path));
  std::vector<std::string> lines;
  std::string line;
  for (;;) {
    const auto r = reader.readLine(line);
    if (r == TextFileReader::Line::kEnd) break;
    if (r == TextFileReader::Line::kBad) {
      if (bad != nullptr) *bad = true;
      break;
    }
    lines.push_back(line);
  }
  return lines;
}

TEST(TextFileReader, DecodesCp932AndAcceptsBothLineEnds) {
  TempDir dir;
  const std::string path = dir.writeBytes("a.dat", testing::toCp932("[LineName]\r\n上り線\nlast"));
  EXPECT_EQ(readAll(path), (std::vector<std::string>{"[LineName]", "上り線", "last"}));
}

TEST(TextFileReader, ReadsUtf8AfterAByteOrderMark) {
  TempDir dir;
  const std::string path = dir.writeBytes("a.dat", "\xEF\xBB\xBF駅\r\n\r\nx");
  EXPECT_EQ(readAll(path), (std::vector<std::string>{"駅", "", "x"}));
}

TEST(TextFileReader, ReportsBytesThatAreNotCp932) {
  TempDir dir;
  // 0x81 starts a double-byte character; 0x0A cannot be its second byte. 0xA0 is unassigned
  // in CP932's lead-byte range.
  bool bad = false;
  const auto lines = readAll(dir.writeBytes("a.dat", "ok\r\n\x85\x40\x85\r\n"), &bad);
  EXPECT_TRUE(bad);
  EXPECT_EQ(lines, std::vector<std::string>{"ok"});
}

TEST(TextFileReader, ReportsInvalidUtf8AndOverlongLines) {
  TempDir dir;
  bool bad = false;
  readAll(dir.writeBytes("a.dat", "\xEF\xBB\xBFok\n\xC3\n"), &bad);
  EXPECT_TRUE(bad);
  bad = false;
  readAll(dir.writeBytes("b.dat", std::string(TextFileReader::kMaxLineBytes + 1, 'x')), &bad);
  EXPECT_TRUE(bad);
}

TEST(TextFileReader, EmptyFileHasNoLinesAndMissingFileDoesNotOpen) {
  TempDir dir;
  EXPECT_TRUE(readAll(dir.writeBytes("empty.dat", "")).empty());
  TextFileReader reader;
  EXPECT_FALSE(reader.open(dir.file("missing.dat")));
  TextFileReader folder;
  EXPECT_FALSE(folder.open(dir.path()));
}

TEST(ResolvePath, TurnsBackslashesAndMatchesLetterCasePerComponent) {
  TempDir dir;
  dir.writeBytes("Image/Panel/Lamp.BMP", "x");
  EXPECT_EQ(resolvePath(dir.path(), "Image\\Panel\\Lamp.BMP"), dir.file("Image/Panel/Lamp.BMP"));
  EXPECT_EQ(resolvePath(dir.path(), "image\\PANEL\\lamp.bmp"), dir.file("Image/Panel/Lamp.BMP"));
  // Nothing matches: the literal path, so that opening it names the file.
  EXPECT_EQ(resolvePath(dir.path(), "image\\none.bmp"), dir.file("image/none.bmp"));
  // One resolver for many names says the same, and whether each was found.
  PathResolver paths;
  bool exists = false;
  for (const char* name : {"image\\PANEL\\lamp.bmp", "IMAGE\\panel\\LAMP.bmp", "image\\none.bmp"}) {
    EXPECT_EQ(paths.resolve(dir.path(), name, &exists), resolvePath(dir.path(), name)) << name;
    EXPECT_EQ(exists, std::string_view(name) != "image\\none.bmp") << name;
  }
  EXPECT_EQ(joinDataPath("train\\", "a\\b.wav"), "train/a/b.wav");
  EXPECT_EQ(joinDataPath("", "b.wav"), "b.wav");
}

}  // namespace
}  // namespace velimoro
