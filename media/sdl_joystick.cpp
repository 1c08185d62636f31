#include "media/sdl_joystick.h"

#include <SDL.h>

namespace velimoro::media {
namespace {

constexpr int kButtons = 16;

SDL_Joystick* joystickOf(void* handle) {
  return static_cast<SDL_Joystick*>(handle);
}

}  // namespace

SdlJoystick::SdlJoystick() {
  // The joystick is read while the window has the focus of no SDL window of ours.
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  // The program's own handlers end it on SIGINT and SIGTERM; SDL's would only queue an event
  // nobody reads, and the program would live on.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  m_started = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
  if (!m_started) m_startError = SDL_GetError();
}

SdlJoystick::~SdlJoystick() {
  if (m_joystick != nullptr) SDL_JoystickClose(joystickOf(m_joystick));
  if (m_started) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

bool SdlJoystick::available(std::string* why) const {
  if (why != nullptr) *why = m_startError;
  return m_started;
}

std::optional<JoystickReading> SdlJoystick::poll(std::string* lostName) {
  if (!m_started) return std::nullopt;
  // Device arrivals and removals come as events; the state of an open joystick is read here.
  SDL_PumpEvents();
  SDL_JoystickUpdate();
  if (m_joystick != nullptr && !SDL_JoystickGetAttached(joystickOf(m_joystick))) {
    if (lostName != nullptr) *lostName = name();
    SDL_JoystickClose(joystickOf(m_joystick));
    m_joystick = nullptr;
  }
  if (m_joystick == nullptr) {
    SDL_FlushEvents(SDL_JOYAXISMOTION, SDL_CONTROLLERSENSORUPDATE);
    if (SDL_NumJoysticks() < 1) return std::nullopt;
    m_joystick = SDL_JoystickOpen(0);
    if (m_joystick == nullptr) return std::nullopt;
    SDL_JoystickUpdate();
  }
  SDL_Joystick* joystick = joystickOf(m_joystick);
  JoystickReading reading;
  reading.axisCount = SDL_JoystickNumAxes(joystick);
  reading.buttonCount = SDL_JoystickNumButtons(joystick);
  if (reading.axisCount > 0) reading.x = SDL_JoystickGetAxis(joystick, 0);
  if (reading.axisCount > 1) reading.y = SDL_JoystickGetAxis(joystick, 1);
  for (int b = 0; b < kButtons && b < reading.buttonCount; ++b) {
    if (SDL_JoystickGetButton(joystick, b) != 0) {
      reading.buttons = static_cast<std::uint16_t>(reading.buttons | 1u << b);
    }
  }
  // Nobody reads SDL's event queue: the joystick's events are dropped rather than kept.
  SDL_FlushEvents(SDL_JOYAXISMOTION, SDL_CONTROLLERSENSORUPDATE);
  return reading;
}

std::string SdlJoystick::name() const {
  if (m_joystick == nullptr) return {};
  const char* text = SDL_JoystickName(joystickOf(m_joystick));
  return text != nullptr ? text : "";
}

}  // namespace velimoro::media
