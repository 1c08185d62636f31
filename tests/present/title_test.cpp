// The title screen's steps, counters and choices, run tick by tick without a display.
#include "present/title.h"

#include <gtest/gtest.h>

namespace velimoro {
namespace {

// The centre of a box of the design, where a user clicks it.
void pressOn(TitleFlow& flow, const MenuBox& box, bool right = false,
             TitleRequest* request = nullptr) {
  const TitleRequest got = flow.press(box.x + box.width / 2, box.y + box.height / 2, right);
  if (request != nullptr) *request = got;
}

// A flow on its route menu with every button shown.
TitleFlow menu() {
  TitleFlow flow(2, false);
  flow.click();
  flow.click();
  for (int i = 0; i < 10; ++i)
    flow.tick();
  return flow;
}

TEST(TitleFlow, SlideshowsChangeSlidesOnTheirCountsAndEndByThemselves) {
  // Every tick of both slideshows against the slide a hand count gives: slide k+1 (1-based
  // file number) from count period × k, the music once at count 1, the end at the last count.
  struct Show {
    int period, slides, end;
    const char* folder;
  };
  for (const Show show : {Show{50, 20, 1050, "op"}, Show{113, 16, 1850, "ed"}}) {
    TitleFlow flow(4, false);
    if (show.period == 113) {
      flow = menu();
      pressOn(flow, routeButtonBox(3));  // line_up3, the route the ending follows
      pressOn(flow, kTrainButtons[0]);
      flow.driveEnded(true);
    }
    flow.takeSounds();
    int music = 0;
    for (int count = 1; count < show.end; ++count) {
      flow.tick();
      char expected[40];
      std::snprintf(expected, sizeof expected, "image\\title\\%s\\%02d.jpg", show.folder,
                    std::min(count / show.period, show.slides - 1) + 1);
      ASSERT_EQ(flow.view().picture, expected) << count;
      music += static_cast<int>(flow.takeSounds().size());
    }
    EXPECT_EQ(music, 1);
    flow.tick();
    EXPECT_EQ(flow.state().title_step,
              show.period == 50 ? TitleStep::kTitlePicture : TitleStep::kMenu);
  }
}

TEST(TitleFlow, WithoutAMovieItsSurfaceGoesAtTheFirstTickAndClicksWalkTheSteps) {
  TitleFlow flow(4, false);
  EXPECT_TRUE(flow.view().movie);
  flow.tick();
  EXPECT_FALSE(flow.view().movie);
  EXPECT_FALSE(flow.view().wide);
  TitleFlow withMovie(0, true);
  for (int i = 0; i < 20; ++i)
    withMovie.tick();
  EXPECT_TRUE(withMovie.view().movie && withMovie.view().wide);
  withMovie.movieEnded();
  EXPECT_FALSE(withMovie.view().movie || withMovie.view().wide);

  flow.click();
  EXPECT_EQ(flow.view().picture, "image\\title\\title05.jpg");
  EXPECT_TRUE(flow.view().quit && flow.view().clickToStart);
  EXPECT_EQ(flow.press(kQuitButton.x + 1, kQuitButton.y + 1, false), TitleRequest::kQuit);
  flow.click();
  EXPECT_EQ(flow.view().picture, "image\\title\\title2.jpg");
  // The buttons come one a tick: line1 at the third tick, line6 at the eighth, help at the
  // ninth, back at the tenth, and then the timer rests.
  for (int tick = 1; tick <= 11; ++tick) {
    flow.tick();
    const TitleView v = flow.view();
    for (int i = 0; i < kTitleRoutes; ++i)
      EXPECT_EQ(v.routeButtons[i], tick >= i + 3) << tick;
    EXPECT_EQ(v.help, tick >= 9);
    EXPECT_EQ(v.back, tick >= 10);
    EXPECT_EQ(flow.timerRunning(), tick < 10);
  }
  pressOn(flow, kBackButton);
  EXPECT_EQ(flow.state().title_step, TitleStep::kTitlePicture);
  EXPECT_FALSE(flow.view().routeButtons[0]);
}

TEST(TitleFlow, EachButtonAndTheDialogHandTheirDriveToTheCab) {
  for (int route = 0; route < kTitleRoutes; ++route) {
    for (int train = 0; train < 2; ++train) {
      TitleFlow flow = menu();
      pressOn(flow, routeButtonBox(route));
      EXPECT_EQ(flow.view().map, kTitleRouteTable[route].map);
      EXPECT_EQ(flow.view().cursorBeside->y, routeButtonBox(route).y);
      flow.takeSounds();
      TitleRequest request{};
      pressOn(flow, kTrainButtons[train], false, &request);
      ASSERT_EQ(request, TitleRequest::kDrive);
      const DriveChoice choice = flow.choice();
      EXPECT_EQ(choice.route_file, kTitleRouteTable[route].routeFile);
      EXPECT_EQ(choice.train_file, train == 0 ? "train_QT600.dat" : "train_QT500.dat");
      EXPECT_EQ(choice.train_folder, "");
      EXPECT_EQ(flow.takeSounds(), (std::vector{TitleSound::kStopMusic, TitleSound::kStart}));
      EXPECT_TRUE(flow.view().statusLine);
      // Only a completed run of the last route brings the ending.
      flow.driveEnded(true);
      EXPECT_FALSE(flow.view().statusLine);
      EXPECT_EQ(flow.state().title_step, route == 3 ? TitleStep::kEnding : TitleStep::kMenu);
    }
  }
  // A right click before any left click chooses the route it was made on, then the dialog's
  // file is split into its folder and name; a cancelled dialog starts nothing.
  TitleFlow flow = menu();
  TitleRequest request{};
  pressOn(flow, routeButtonBox(2), true, &request);
  ASSERT_EQ(request, TitleRequest::kTrainDialog);
  EXPECT_EQ(flow.trainFileChosen(""), TitleRequest::kNone);
  ASSERT_EQ(flow.trainFileChosen("/home/u/trains/my_train.dat"), TitleRequest::kDrive);
  EXPECT_EQ(flow.choice().route_file, "line_up2.dat");
  EXPECT_EQ(flow.choice().train_folder, "/home/u/trains/");
  EXPECT_EQ(flow.choice().train_file, "my_train.dat");
  // The dialog's train is used once: the next button press is the built-in train again.
  flow.driveEnded(false);
  pressOn(flow, kTrainButtons[1], false, &request);
  EXPECT_EQ(flow.choice().train_file, "train_QT500.dat");
  EXPECT_EQ(flow.choice().train_folder, "");
}

TEST(TitleFlow, TheKeyboardChoosesARouteAndATrainAndGoesBack) {
  TitleFlow flow(0, false);
  flow.key(TitleKey::kEnter);   // the opening
  flow.key(TitleKey::kEscape);  // nothing on the title picture
  EXPECT_EQ(flow.state().title_step, TitleStep::kTitlePicture);
  flow.key(TitleKey::kEnter);
  for (int i = 0; i < 10; ++i)
    flow.tick();
  flow.key(TitleKey::kDown);
  flow.key(TitleKey::kDown);
  flow.key(TitleKey::kDown);
  flow.key(TitleKey::kUp);
  EXPECT_EQ(flow.state().route_file, "line_up1_rapid.dat");
  flow.key(TitleKey::kRight);
  flow.key(TitleKey::kRight);
  EXPECT_EQ(flow.view().focusedTrain, 1);
  flow.key(TitleKey::kEscape);  // off the trains
  EXPECT_EQ(flow.view().focusedTrain, -1);
  flow.key(TitleKey::kEnter);
  EXPECT_EQ(flow.key(TitleKey::kEnter), TitleRequest::kDrive);
  EXPECT_EQ(flow.choice().train_file, "train_QT600.dat");
  flow.driveEnded(false);
  EXPECT_EQ(flow.key(TitleKey::kHelp), TitleRequest::kHelp);
  flow.key(TitleKey::kEscape);  // off the train the keyboard stood on
  flow.key(TitleKey::kEscape);
  EXPECT_EQ(flow.state().title_step, TitleStep::kTitlePicture);
}

}  // namespace
}  // namespace velimoro
