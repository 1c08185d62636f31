// Whatever the data files hold, the checker reports what it finds and returns.

#include <gtest/gtest.h>

#include <random>

#include "tests/check/check_fixture.h"

namespace velimoro::check {
namespace {

TEST(HostileInput, AnyMixOfSectionsAndValuesIsReportedAndTheCheckReturns) {
  const std::vector<std::string> pieces = {"[Station]",
                                           "[Signal]",
                                           "[SpeedUnit]",
                                           "[MovieStop]",
                                           "[MovieSwitch]",
                                           "[StartPos]",
                                           "[SoundData]",
                                           "[KankoSound1]",
                                           "[KankoSound2]",
                                           "[OtherImageList]",
                                           "[DataName]",
                                           "[SpeedLimit]",
                                           "[Staf]",
                                           "[Notch]",
                                           "[PowerMode]",
                                           "[Power]",
                                           "[Engine_Type]",
                                           "[Brake]",
                                           "[BrakeType]",
                                           "[DriveSound]",
                                           "[Panel]",
                                           "[Others]",
                                           "[Lamp_signal]",
                                           "[Tons]",
                                           "#",
                                           "",
                                           "-2147483648",
                                           "2147483647",
                                           "99999999999",
                                           "0",
                                           "1",
                                           "-1",
                                           "2",
                                           "1e308",
                                           ",,,",
                                           "1,2,3,4,5,6,7,8,9,10,11,12,13,14",
                                           "-5,2147483647,-2147483648,0,x",
                                           "0,2147483647,1e308,-1e308",
                                           "sound\\a.wav",
                                           "Sound\\B.WAV",
                                           "..\\..\\..",
                                           "\\",
                                           "move",
                                           "P,mode"};
  Installation inst;
  // Sound headers whose chunk sizes run past the file, and one without rates.
  inst.dir.writeBytes(
      "sound/a.wav",
      std::string("RIFF\xff\xff\xff\xffWAVEfmt \xff\xff\xff\xff", 20) + std::string(40, '\xff'));
  inst.dir.writeBytes("sound/b.wav", "RIFF\x24\0\0\0WAVEfmt \x10\0\0\0" + std::string(16, '\0') +
                                         "data\xff\xff\xff\x7f");
  inst.write("dorvanel.dat", "[Path]|move\\");
  inst.dir.writeBytes("move/move.avi", "RIFF");
  std::mt19937 random(20240611);
  const auto frames = [&random](const std::string&) -> std::optional<int> {
    return static_cast<int>(random() % 3000) - 1;
  };
  for (int round = 0; round < 200; ++round) {
    std::string lines;
    for (int i = 0; i < 80; ++i)
      lines += pieces[random() % pieces.size()] + "|";
    // The first header makes each file the kind it is named for.
    inst.write("route.dat", "[Station]|[SpeedUnit]|" + lines);
    inst.write("train.dat", "[Handle]|[Power]|" + lines);
    for (const std::string& finding : inst.check(Lines{"route.dat", "train.dat"}, frames))
      EXPECT_TRUE(finding.starts_with("route.dat:") || finding.starts_with("train.dat:"))
          << finding;
  }
}

}  // namespace
}  // namespace velimoro::check
