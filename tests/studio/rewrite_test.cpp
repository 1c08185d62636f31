#include <sys/wait.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "support/demo_root.h"
#include "support/test_support.h"

namespace velimoro {
namespace {

using testing::readFile;
using testing::TempDir;

struct StudioRun {
  int status = -1;
  std::string err;
};

// velimoro-studio with `arguments`, its error stream kept.
StudioRun studio(const TempDir& dir, const std::string& arguments) {
  const std::string errFile = dir.file("stderr.txt");
  const int status =
      std::system((std::string(VELIMORO_STUDIO_EXE) + " " + arguments + " 2>" + errFile).c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(errFile)};
}

// Demo routes, a file of no route at all and an empty one come out as they went in; what
// cannot be read or written ends in the program's message with status 1 and leaves the
// target as it was.
TEST(StudioRewrite, GivesBackTheBytesItReadsAndNamesWhatItCannotDo) {
  TempDir dir;
  const std::string& root = testing::demoRoot();
  for (const std::string file : {"line_up1_local.dat", "line_up3.dat", "line_out.dat"}) {
    const std::string out = dir.file("out_" + file);
    EXPECT_EQ(studio(dir, root + "/" + file + " " + out).status, 2) << "no --rewrite";
    ASSERT_EQ(studio(dir, "--rewrite " + root + "/" + file + " " + out).status, 0);
    EXPECT_EQ(readFile(out), readFile(root + "/" + file)) << file;
  }
  std::string noise;
  for (int i = 0; i < 5000; ++i)
    noise.push_back(static_cast<char>((i * 7919) % 251));
  noise += "\r[Station]\n\x82\xA0,#\r\r\n[OtherImageList]\npicture.bmp";
  for (const std::string& bytes : {noise, std::string()}) {
    const std::string in = dir.writeBytes("in.dat", bytes);
    ASSERT_EQ(studio(dir, "--rewrite " + in + " " + dir.file("copy.dat")).status, 0);
    EXPECT_EQ(readFile(dir.file("copy.dat")), bytes);
  }

  const std::string kept = dir.writeBytes("kept.dat", "[LineName]\r\nkept\r\n");
  const StudioRun missing = studio(dir, "--rewrite " + dir.file("none.dat") + " " + kept);
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("none.dat"), std::string::npos) << missing.err;
  EXPECT_EQ(studio(dir, "--rewrite " + dir.path() + " " + kept).status, 1);
  EXPECT_EQ(readFile(kept), "[LineName]\r\nkept\r\n");
  const StudioRun unwritable =
      studio(dir, "--lang ja --rewrite " + kept + " " + dir.file("no/such/folder.dat"));
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_NE(unwritable.err.find("に書けません"), std::string::npos) << unwritable.err;
  EXPECT_EQ(studio(dir, "--rewrite " + kept).status, 2);

  // The same in English with --lang en, the help too; a language it has not ends in a message.
  const StudioRun english =
      studio(dir, "--lang en --rewrite " + kept + " " + dir.file("no/such/folder.dat"));
  EXPECT_NE(english.err.find("cannot write"), std::string::npos) << english.err;
  for (const auto& [language, heading] : {std::pair{"en", "Usage:"}, std::pair{"ja", "使い方:"}}) {
    EXPECT_EQ(
        studio(dir, std::string("--help --lang ") + language + " >" + dir.file("help.txt")).status,
        0);
    EXPECT_TRUE(readFile(dir.file("help.txt")).starts_with(heading)) << language;
  }
  EXPECT_EQ(studio(dir, "--lang fr --help").status, 2);
}

}  // namespace
}  // namespace velimoro
