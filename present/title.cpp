#include "present/title.h"

#include <cstdio>

namespace velimoro {
namespace {

std::string numbered(const char* pattern, int number) {
  char name[64];
  std::snprintf(name, sizeof name, pattern, number);
  return name;
}

std::string openingSlide(int index) {
  return numbered("image\\title\\op\\%02d.jpg", index + 1);
}

std::string endingSlide(int index) {
  return numbered("image\\title\\ed\\%02d.jpg", index + 1);
}

// The slide a counter shows a new slide at: slide k+1 at count `every` × k, for k = 1 .. last.
std::optional<int> slideAt(int count, int every, int slides) {
  if (count <= 0 || count % every != 0) return std::nullopt;
  const int k = count / every;
  if (k >= slides) return std::nullopt;
  return k;
}

}  // namespace

std::string titlePictureName(int index) {
  return numbered("image\\title\\title%02d.jpg", index + 1);
}

TitleFlow::TitleFlow(int titlePicture, bool movieOpened)
    : m_movie(true), m_movieOpened(movieOpened) {
  m_state.title_picture = titlePicture;
  m_picture = openingSlide(0);
}

TitleView TitleFlow::view() const {
  TitleView v;
  v.picture = m_picture;
  v.routeButtons = m_routeButtons;
  v.map = m_map;
  v.trainButtons = m_trainButtons;
  v.help = m_help;
  v.back = m_back;
  v.quit = m_quit;
  v.clickToStart = m_clickToStart;
  v.cursorBeside = m_cursor;
  v.focusedTrain = m_trainButtons ? m_focusedTrain : -1;
  v.movie = m_movie;
  v.wide = m_movie && m_movieOpened;  // a movie that plays has the wide form
  v.statusLine = m_statusLine;
  return v;
}

void TitleFlow::tick() {
  if (!m_timer) return;
  switch (m_state.title_step) {
    case TitleStep::kOpening:
      openingTick();
      break;
    case TitleStep::kEnding:
      endingTick();
      break;
    case TitleStep::kMenu:
      menuTick();
      break;
    case TitleStep::kTitlePicture:
      break;
  }
}

void TitleFlow::openingTick() {
  const int count = ++m_state.opening_ticks;
  if (const auto slide = slideAt(count, kOpeningSlideTicks, kOpeningSlides))
    m_picture = openingSlide(*slide);
  if (count == 1) m_sounds.push_back(TitleSound::kOpeningMusic);
  // Without a movie its surface goes at the first tick and the slideshow runs alone.
  if (!m_movieOpened && m_movie) movieEnded();
  if (count == kOpeningEndTicks) click();
}

void TitleFlow::endingTick() {
  const int count = ++m_state.ending_ticks;
  if (const auto slide = slideAt(count, kEndingSlideTicks, kEndingSlides))
    m_picture = endingSlide(*slide);
  if (count == 1) m_sounds.push_back(TitleSound::kEndingMusic);
  if (count == kEndingEndTicks) click();
}

void TitleFlow::menuTick() {
  // The route buttons come one a tick, then help, then back; then the timer rests.
  const int count = ++m_state.menu_ticks;
  m_quit = false;
  for (int i = 0; i < kTitleRoutes; ++i) {
    if (count > i + 2) m_routeButtons[i] = true;
  }
  if (count > 8) m_help = true;
  if (count > 9) {
    m_back = true;
    m_timer = false;
  }
}

void TitleFlow::click() {
  switch (m_state.title_step) {
    case TitleStep::kOpening:
      m_state.title_step = TitleStep::kTitlePicture;
      m_quit = true;
      m_clickToStart = true;
      m_picture = titlePictureName(m_state.title_picture);
      // The movie's surface stays until the title picture comes.
      m_movie = false;
      break;
    case TitleStep::kEnding:
      m_sounds.push_back(TitleSound::kStopMusic);
      [[fallthrough]];
    case TitleStep::kTitlePicture:
      m_state.title_step = TitleStep::kMenu;
      m_timer = true;
      m_picture = kMenuBackground;
      m_quit = false;
      m_clickToStart = false;
      break;
    case TitleStep::kMenu:
      break;
  }
}

void TitleFlow::movieEnded() {
  m_routeButtons.fill(false);
  m_map = -1;
  m_help = false;
  m_back = false;
  m_quit = false;
  m_state.menu_ticks = 0;
  m_movie = false;
}

TitleRequest TitleFlow::press(int x, int y, bool rightButton) {
  if (m_state.title_step != TitleStep::kMenu) {
    if (rightButton) return TitleRequest::kNone;
    if (m_quit && kQuitButton.contains(x, y)) return TitleRequest::kQuit;
    click();
    return TitleRequest::kNone;
  }
  for (int i = 0; i < kTitleRoutes; ++i) {
    if (!m_routeButtons[i] || !routeButtonBox(i).contains(x, y)) continue;
    // A right click chooses the route it was made on before it asks for a train file.
    chooseRoute(i);
    return rightButton ? TitleRequest::kTrainDialog : TitleRequest::kNone;
  }
  if (m_map >= 0 && kRouteMap.contains(x, y)) {
    if (rightButton) return TitleRequest::kTrainDialog;
    m_cursor = kRouteMap;
    return TitleRequest::kNone;
  }
  if (rightButton) return TitleRequest::kNone;
  for (int i = 0; i < 2; ++i) {
    if (m_trainButtons && kTrainButtons[i].contains(x, y)) return chooseTrain(i);
  }
  if (m_help && kHelpButton.contains(x, y)) return TitleRequest::kHelp;
  if (m_back && kBackButton.contains(x, y)) back();
  return TitleRequest::kNone;
}

TitleRequest TitleFlow::key(TitleKey key) {
  if (m_state.title_step != TitleStep::kMenu) {
    if (key == TitleKey::kEnter ||
        (key == TitleKey::kEscape && m_state.title_step != TitleStep::kTitlePicture))
      click();
    return TitleRequest::kNone;
  }
  const auto visibleRoute = [&](int from, int step) {
    for (int i = from; i >= 0 && i < kTitleRoutes; i += step) {
      if (m_routeButtons[i]) return i;
    }
    return -1;
  };
  switch (key) {
    case TitleKey::kUp:
    case TitleKey::kDown: {
      const int step = key == TitleKey::kDown ? 1 : -1;
      const int from =
          m_focusedRoute < 0 ? (step > 0 ? 0 : kTitleRoutes - 1) : m_focusedRoute + step;
      const int to = visibleRoute(from, step);
      if (to >= 0) {
        chooseRoute(to);
        m_focusedTrain = -1;
      }
      break;
    }
    case TitleKey::kRight:
      if (m_trainButtons) m_focusedTrain = m_focusedTrain < 0 ? 0 : 1;
      break;
    case TitleKey::kLeft:
      if (m_focusedTrain >= 0) --m_focusedTrain;
      break;
    case TitleKey::kEnter:
      if (m_trainButtons && m_focusedTrain >= 0) return chooseTrain(m_focusedTrain);
      if (m_trainButtons) {
        m_focusedTrain = 0;
      } else if (const int first = visibleRoute(0, 1); first >= 0) {
        chooseRoute(first);
      }
      break;
    case TitleKey::kEscape:
      if (m_focusedTrain >= 0) {
        m_focusedTrain = -1;
      } else {
        back();
      }
      break;
    case TitleKey::kHelp:
      if (m_help) return TitleRequest::kHelp;
      break;
  }
  return TitleRequest::kNone;
}

TitleRequest TitleFlow::trainFileChosen(const std::string& path) {
  if (path.empty() || m_state.route_file.empty()) return TitleRequest::kNone;
  const std::size_t cut = path.find_last_of("/\\");
  m_state.train_folder = cut == std::string::npos ? "" : path.substr(0, cut + 1);
  m_state.train_file = cut == std::string::npos ? path : path.substr(cut + 1);
  m_dialogChoice = true;
  return startDrive();
}

void TitleFlow::back() {
  m_state.title_step = TitleStep::kTitlePicture;
  m_picture = titlePictureName(m_state.title_picture);
  m_routeButtons.fill(false);
  m_map = -1;
  m_trainButtons = false;
  m_help = false;
  m_cursor.reset();
  m_back = false;
  m_clickToStart = true;
  m_quit = true;
  m_focusedRoute = -1;
  m_focusedTrain = -1;
}

void TitleFlow::driveEnded(bool runEnded) {
  m_statusLine = false;
  if (!runEnded || m_state.route_file != kEndingRoute) return;
  m_state.title_step = TitleStep::kEnding;
  m_state.ending_ticks = 0;
  m_timer = true;
  m_picture = endingSlide(0);
  m_routeButtons.fill(false);
  m_map = -1;
  m_trainButtons = false;
  m_help = false;
  m_back = false;
  m_quit = false;
  m_cursor.reset();
  m_focusedRoute = -1;
  m_focusedTrain = -1;
}

std::vector<TitleSound> TitleFlow::takeSounds() {
  std::vector<TitleSound> sounds;
  sounds.swap(m_sounds);
  return sounds;
}

void TitleFlow::chooseRoute(int index) {
  m_cursor = routeButtonBox(index);
  m_state.route_file = kTitleRouteTable[index].routeFile;
  m_trainButtons = true;
  m_map = kTitleRouteTable[index].map;
  m_focusedRoute = index;
}

TitleRequest TitleFlow::chooseTrain(int index) {
  if (!m_dialogChoice) {
    m_state.train_file = kTitleTrainFiles[index];
    m_state.train_folder.clear();
  }
  return startDrive();
}

TitleRequest TitleFlow::startDrive() {
  m_dialogChoice = false;
  if (m_state.route_file.empty()) return TitleRequest::kNone;
  m_sounds.push_back(TitleSound::kStopMusic);
  m_sounds.push_back(TitleSound::kStart);
  m_statusLine = true;
  return TitleRequest::kDrive;
}

}  // namespace velimoro
