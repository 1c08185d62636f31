#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "media/translate.h"

namespace velimoro {

/// The title screen's step: the opening, the title picture, the route menu, the ending.
enum class TitleStep { kOpening = 1, kTitlePicture = 2, kMenu = 3, kEnding = 4 };

/// Where a picture of the title screen sits on its 800 x 600 client area.
struct MenuBox {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  constexpr bool contains(int px, int py) const {
    return px >= x && px < x + width && py >= y && py < y + height;
  }
};

// The route menu's layout, which the menu background "image\title\title2.jpg" is drawn for:
//  - route buttons line1 … line6, 280 × 62, in a column from (50, 104), one every 70 pixels; the
//    selection cursor goes in the 40 pixels left of the picture it points at;
//  - the route maps lineA … lineC, 400 × 250, all at (370, 104);
//  - the train buttons train1 and train2, 195 × 120, at (370, 394) and (575, 394);
//  - the row below y 540 holds the program's own help, back and quit buttons.
inline constexpr int kTitleWidth = 800;
inline constexpr int kTitleHeight = 600;
inline constexpr int kTitleStatusHeight = 18;  // the status line below the picture
inline constexpr int kOpeningWidth = 1000;     // the form while the opening movie plays
inline constexpr int kOpeningHeight = 666;
inline constexpr MenuBox kRouteButton{50, 104, 280, 62};  // the first; the others lower down
inline constexpr int kRouteButtonPitch = 70;
inline constexpr MenuBox kRouteMap{370, 104, 400, 250};
inline constexpr MenuBox kTrainButtons[2] = {{370, 394, 195, 120}, {575, 394, 195, 120}};
inline constexpr MenuBox kHelpButton{50, 550, 110, 36};
inline constexpr MenuBox kBackButton{520, 550, 110, 36};
inline constexpr MenuBox kQuitButton{660, 550, 110, 36};
inline constexpr MenuBox kClickToStart{250, 530, 300, 44};
inline constexpr int kCursorWidth = 40;

/// The route button `index` (0..5).
constexpr MenuBox routeButtonBox(int index) {
  return {kRouteButton.x, kRouteButton.y + index * kRouteButtonPitch, kRouteButton.width,
          kRouteButton.height};
}

/// One route of the menu: its button picture, its route data file and its map (-1 none).
struct TitleRoute {
  const char* button;
  const char* routeFile;
  int map;
};
inline constexpr int kTitleRoutes = 6;
inline constexpr TitleRoute kTitleRouteTable[kTitleRoutes] = {
    {"image\\title\\line1.bmp", "line_up1_local.dat", 0},
    {"image\\title\\line2.bmp", "line_up1_rapid.dat", 0},
    {"image\\title\\line3.bmp", "line_up2.dat", 1},
    {"image\\title\\line4.bmp", "line_up3.dat", 2},
    {"image\\title\\line5.bmp", "line_in.dat", -1},
    {"image\\title\\line6.bmp", "line_out.dat", -1}};
inline constexpr const char* kTitleMaps[3] = {"image\\title\\lineA.bmp", "image\\title\\lineB.bmp",
                                              "image\\title\\lineC.bmp"};
inline constexpr const char* kTitleTrainButtons[2] = {"image\\title\\train1.bmp",
                                                      "image\\title\\train2.bmp"};
inline constexpr const char* kTitleTrainFiles[2] = {"train_QT600.dat", "train_QT500.dat"};
/// The route whose completed run is followed by the ending.
inline constexpr const char* kEndingRoute = "line_up3.dat";

inline constexpr const char* kOpeningMovie = "move\\opening.avi";
inline constexpr const char* kOpeningMusicFile = "sound\\42213.wav";
inline constexpr const char* kEndingMusicFile = "sound\\akaneiro.wav";
inline constexpr const char* kStartSoundFile = "sound\\start.wav";
inline constexpr const char* kHelpPage = "readme.html";
inline constexpr const char* kMenuBackground = "image\\title\\title2.jpg";
inline constexpr int kOpeningSlides = 20;
inline constexpr int kEndingSlides = 16;
inline constexpr int kOpeningSlideTicks = 50;  // 5 s a slide
inline constexpr int kEndingSlideTicks = 113;  // 11.3 s a slide
inline constexpr int kOpeningEndTicks = 1050;  // the opening ends by itself after 105 s
inline constexpr int kEndingEndTicks = 1850;   // the ending after 185 s
// The title screen's texts, marked in the context "Title" and translated where they are shown.
inline constexpr const char* kMissingUiStrings =
    VELIMORO_TEXT_NOOP("Title", "実行ファイルが正しい場所に配置されていません");
inline constexpr const char* kMovieFailed =
    VELIMORO_TEXT_NOOP("Title", "オープニングムービーを開けません");
inline constexpr const char* kCreatingForm = VELIMORO_TEXT_NOOP("Title", "Formを作成しています");
inline constexpr const char* kTrainDialogTitle =
    VELIMORO_TEXT_NOOP("Title", "この路線を任意の列車で運転することができます");
inline constexpr const char* kTrainDialogFilter =
    VELIMORO_TEXT_NOOP("Title", "列車データファイル (*.dat)");

/// The title picture `index` (0..5): "image\title\title01.jpg" … "title06.jpg".
std::string titlePictureName(int index);

/// What the title screen hands the cab start-up: the route, and the train file with its folder
/// ("" for the built-in trains, else ending with a separator).
struct DriveChoice {
  std::string route_file;
  std::string train_file;
  std::string train_folder;
};

/// The title screen's state. The program's folder is the data root, which the host keeps.
struct TitleState {
  TitleStep title_step = TitleStep::kOpening;
  int opening_ticks = 0;
  int menu_ticks = 0;
  int ending_ticks = 0;
  int title_picture = 0;  // 0..5, chosen at random at start
  std::string route_file;
  std::string train_file;
  std::string train_folder;
};

/// A sound the host plays or stops for the title screen.
enum class TitleSound { kOpeningMusic, kEndingMusic, kStopMusic, kStart };

/// What the title screen shows now, in its 800 x 600 design.
struct TitleView {
  std::string picture;  // the background: a slide, the title picture or the menu background
  std::array<bool, kTitleRoutes> routeButtons{};
  int map = -1;  // 0..2, or -1
  bool trainButtons = false;
  bool help = false;
  bool back = false;
  bool quit = false;
  bool clickToStart = false;
  std::optional<MenuBox> cursorBeside;  // the picture the selection cursor points at
  int focusedTrain = -1;                // the train button the keyboard stands on
  bool movie = false;                   // the opening movie's surface covers the screen
  bool wide = false;                    // the form is 1000 x 666 for the movie
  bool statusLine = false;              // the form is 18 pixels taller for the status line
};

/// Keys of the title screen (beyond the mouse): arrows, Enter, Escape, F1.
enum class TitleKey { kUp, kDown, kLeft, kRight, kEnter, kEscape, kHelp };

/// What a click, a key or a tick asks of the host beyond redrawing.
enum class TitleRequest { kNone, kDrive, kTrainDialog, kHelp, kQuit };

/// The title screen's rules: its steps, counters, buttons and sounds, run by a 100 ms timer.
/// It knows nothing of widgets: the host draws view(), plays what takeSounds() gives, and
/// forwards clicks, keys, ticks and the end of the movie and of each drive.
class TitleFlow {
 public:
  /// `titlePicture` 0..5; `movieOpened` when the opening movie plays.
  TitleFlow(int titlePicture, bool movieOpened);

  const TitleState& state() const { return m_state; }
  TitleView view() const;
  /// The 100 ms timer runs.
  bool timerRunning() const { return m_timer; }

  /// One 100 ms tick of the timer (the host calls it only while timerRunning()).
  void tick();
  /// A click on the picture or on the click-to-start image.
  void click();
  /// The opening movie has ended (or there is none).
  void movieEnded();
  /// A left click at (x, y) of the design; a right click on a route button or map asks for the
  /// train dialog. kDrive: choice() holds the drive to start.
  TitleRequest press(int x, int y, bool rightButton);
  TitleRequest key(TitleKey key);
  /// The train dialog gave `path` (empty when cancelled): split into folder and file name.
  TitleRequest trainFileChosen(const std::string& path);
  /// The back button.
  void back();
  /// The cab form has closed (also when its start-up failed); `runEnded` when the run ended at
  /// its last station.
  void driveEnded(bool runEnded);

  /// The drive chosen by the last kDrive request.
  DriveChoice choice() const {
    return {m_state.route_file, m_state.train_file, m_state.train_folder};
  }
  /// The sounds asked for since the last call.
  std::vector<TitleSound> takeSounds();

 private:
  void chooseRoute(int index);
  TitleRequest chooseTrain(int index);
  TitleRequest startDrive();
  void openingTick();
  void endingTick();
  void menuTick();

  TitleState m_state;
  bool m_timer = true;
  bool m_movie = false;  // the movie surface is shown
  bool m_movieOpened = false;
  bool m_statusLine = false;
  bool m_dialogChoice = false;  // the train came from the dialog
  std::string m_picture;
  std::array<bool, kTitleRoutes> m_routeButtons{};
  int m_map = -1;
  bool m_trainButtons = false;
  bool m_help = false;
  bool m_back = false;
  bool m_quit = false;
  bool m_clickToStart = false;
  std::optional<MenuBox> m_cursor;
  int m_focusedRoute = -1;
  int m_focusedTrain = -1;
  std::vector<TitleSound> m_sounds;
};

}  // namespace velimoro
