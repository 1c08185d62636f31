#include "present/side_column.h"
#include "cab/drive.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace velimoro {
namespace {

struct SideColumnTest : ::testing::Test {
  testing::RecordingSound sound;
  testing::RecordingPictures pictures;
  testing::RecordingMessages messages;
  Drive drive{{}, DriveMedia{sound, pictures, messages, nullptr}};
  SimState& s = drive.state;

  SideColumnTest() {
    // Handles of the store: 100 + index in each list, so a picture's list shows in the test.
    for (int i = 0; i < 30; ++i)
      drive.pictures.signal.push_back(100 + i);
    drive.pictures.signal2 = {200, 201};
    drive.pictures.trafficSignal = {300, 301, 302};
    drive.pictures.anim = {400, 401};
  }
};

TEST_F(SideColumnTest, AtRestNothingStandsBesideTheScreen) {
  EXPECT_TRUE(sidePictures(drive).empty());
}

TEST_F(SideColumnTest, EveryPictureStandsAtItsPlaceFromItsOwnList) {
  s.signal_picture = 3;
  s.signal_picture_x = 625;
  s.signal_left_picture = 22;
  s.signal_left_x = 675;
  s.signal_plate_picture = 25;
  s.limit_sign_picture = 1;
  s.limit_sign_visible = true;
  s.traffic_signal_picture = 0;
  s.traffic_signal_picture2 = 2;
  s.anim_picture = 1;
  const std::vector<PlacedPicture> expected = {{122, 675, kSignalTop},
                                               {103, 625, kSignalTop},
                                               {125, 625, kPlateTop},
                                               {201, kLimitSignLeft, kLimitSignTop},
                                               {300, kTrafficSignalLeft, kTrafficSignalTop},
                                               {302, kDetectorLeft, kTrafficSignalTop},
                                               {401, kAnimationLeft, kAnimationTop}};
  EXPECT_EQ(sidePictures(drive), expected);
  // A blinking sign in its dark half, and pictures beyond their lists, are not shown.
  s.limit_sign_visible = false;
  s.signal_picture = 30;
  s.anim_picture = 2;
  s.traffic_signal_picture2 = -5;
  EXPECT_EQ(sidePictures(drive).size(), 3u);  // the left indicator, the plate, the road signal
}

TEST_F(SideColumnTest, TheTimetableCardStandsWhereTheKeysPutIt) {
  s.staf_shown = true;
  s.staf_left = 750;
  s.staf_top = -216;
  EXPECT_TRUE(sidePictures(drive).empty());  // no card picture
  drive.staffPicture = 7;
  EXPECT_EQ(sidePictures(drive), (std::vector<PlacedPicture>{{7, 750, -216}}));
  s.staf_shown = false;
  EXPECT_TRUE(sidePictures(drive).empty());
}

}  // namespace
}  // namespace velimoro
