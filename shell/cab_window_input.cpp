// The driver's keyboard, wheel and mouse at the cab window, handed to the drive as inputs.
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <optional>

#include "input/controls.h"
#include "shell/cab_window.h"

namespace velimoro::shell {
namespace {

constexpr int kWheelNotch = 120;  // eighths of a degree a wheel notch turns

// The virtual keys the driver's controls know, from Qt's key codes.
std::optional<VirtualKey> virtualKey(int key) {
  switch (key) {
    case Qt::Key_Backspace:
      return VirtualKey::kBackSpace;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return VirtualKey::kEnter;
    case Qt::Key_ScrollLock:
      return VirtualKey::kScrollLock;
    case Qt::Key_PageUp:
      return VirtualKey::kPageUp;
    case Qt::Key_PageDown:
      return VirtualKey::kPageDown;
    case Qt::Key_Left:
      return VirtualKey::kLeft;
    case Qt::Key_Right:
      return VirtualKey::kRight;
    default:
      break;
  }
  if (key >= Qt::Key_F1 && key <= Qt::Key_F12) {
    return static_cast<VirtualKey>(static_cast<int>(VirtualKey::kF1) + (key - Qt::Key_F1));
  }
  return std::nullopt;
}

}  // namespace

void CabWindow::keyPressEvent(QKeyEvent* event) {
  const bool shiftAlone = event->modifiers() == Qt::ShiftModifier;
  if (const auto key = virtualKey(event->key())) {
    std::vector<std::string> args = {virtualKeyName(*key)};
    if (shiftAlone) args.push_back("shift");
    input("vkey", std::move(args));
    return;
  }
  const QString text = event->text();
  if (text.size() == 1 && text[0].unicode() >= 0x20 && text[0].unicode() < 0x7F) {
    typeKey(static_cast<char>(text[0].unicode()));
  }
}

void CabWindow::typeKey(char key) {
  input("key", {keyWord(key)});
}

void CabWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPointF at = logicalToWindow().inverted().map(event->position());
  if (QRectF(backPictureBox()).contains(at)) {
    back();
    return;
  }
  // A click on the cab screen while the drive stands still is the Start menu item; the column
  // of lineside pictures beside it takes no clicks.
  const QRectF screen(0, 0, media::CabSurface::kWidth, media::CabSurface::kHeight);
  if (screen.contains(at) && !m_session->running()) toggleStart();
}

void CabWindow::wheelEvent(QWheelEvent* event) {
  // Fine wheels and touchpads send many small turns and a fast wheel merges notches into one
  // event: the handle moves one step per whole notch turned. Turning the wheel away from the
  // driver moves towards the brake, as a brake valve does.
  m_wheelDelta += event->angleDelta().y();
  while (m_wheelDelta >= kWheelNotch) {
    m_wheelDelta -= kWheelNotch;
    input("wheel", {"up"});
  }
  while (m_wheelDelta <= -kWheelNotch) {
    m_wheelDelta += kWheelNotch;
    input("wheel", {"down"});
  }
}

}  // namespace velimoro::shell
