#include "present/screen_pass.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "data/paths.h"
#include "data/rounding.h"
#include "data/ui_strings.h"
#include "media/translate.h"
#include "present/aid_overlay.h"
#include "present/picture_effects.h"

namespace velimoro {
namespace {

constexpr std::uint32_t kPassIntervalMs = 33;
constexpr int kEndHoldFrames = 500;
constexpr media::Rgb kShadowColour = 0x000000;
constexpr media::Rgb kTextColour = 0xFFFFFF;
constexpr media::Rgb kBandTextColour = 0x000000;
constexpr int kBandTop = 313;
constexpr int kBandBottom = 340;
constexpr int kGuidanceCentre = 300;
constexpr int kFadeBottom = 654;

struct PlacedText {
  OverlayText slot;
  const std::string* text;
  int size;
  int x;
  int y;
};

int slotIndex(OverlayText slot) {
  return static_cast<int>(slot);
}

// The texts to lay over the picture this pass, in drawing order, at their places. The optional
// ones are left out when empty; the traffic-signal text pushes the transponder text up.
std::vector<PlacedText> placedTexts(const ScreenPass& pass, const SimState& s) {
  std::vector<PlacedText> out;
  out.reserve(kOverlayTextCount);
  auto add = [&out](OverlayText slot, const std::string& text, int size, int x, int y) {
    out.push_back({slot, &text, size, x, y});
  };
  add(OverlayText::kSpeed, s.speed_text, 14, 495, 271);
  add(OverlayText::kReverser, s.reverser_text, 12, 470, 310);
  add(OverlayText::kNotch, s.power_text, 12, 518, 310);
  add(OverlayText::kBrake, s.brake_text, 12, 550, 310);
  add(OverlayText::kGear, s.gear_text, 12, 418, 310);
  add(OverlayText::kStation, s.next_station_text, 12, 5, 282);
  if (!s.pattern_text.empty()) add(OverlayText::kPattern, s.pattern_text, 12, 418, 235);
  const bool trafficShown = !s.traffic_stop_text.empty();
  if (trafficShown) add(OverlayText::kTrafficSignal, s.traffic_stop_text, 12, 5, 222);
  if (!s.traffic_detect_text.empty())
    add(OverlayText::kTransponder, s.traffic_detect_text, 12, 5, trafficShown ? 192 : 222);
  add(OverlayText::kCars, s.crew_text, 12, 5, 252);
  add(OverlayText::kExtraA, pass.extraTextA, 12, 100, 281);
  add(OverlayText::kExtraB, pass.extraTextB, 12, 5, 311);
  // Centred by the width the guidance had when it was last drawn.
  const int lastWidth = pass.textBoxes[slotIndex(OverlayText::kGuidance)].width;
  const auto half = static_cast<int>(roundHalfEven(static_cast<long double>(lastWidth) / 2));
  add(OverlayText::kGuidance, s.guidance_shown, 12, kGuidanceCentre - half, 15);
  return out;
}

media::RgbPicture blankPicture(int width = ScreenPass::kPictureWidth,
                               int height = ScreenPass::kPictureHeight,
                               media::PixelLayout layout = media::PixelLayout::kRgb24) {
  media::RgbPicture picture;
  picture.width = width;
  picture.height = height;
  picture.layout = layout;
  picture.pixels.assign(
      static_cast<std::size_t>(picture.width) * picture.height * picture.bytesPerPixel(), 0);
  // Black in the word layout keeps its pixels opaque.
  if (layout == media::PixelLayout::kXrgb32)
    for (std::size_t at = 0; at < picture.pixels.size(); at += 4)
      picture.setRgb(at, 0);
  return picture;
}

// Copies the decoded frame into the picture; a frame of another size is scaled to fit (nearest
// pixel), so the texts keep their places on the picture, and one of another layout converted.
void copyFrame(const media::RgbPicture& frame, media::RgbPicture& picture) {
  const auto from = static_cast<std::size_t>(frame.bytesPerPixel());
  const auto to = static_cast<std::size_t>(picture.bytesPerPixel());
  const auto frameBytes = static_cast<std::size_t>(frame.width) * frame.height * from;
  if (frame.width <= 0 || frame.height <= 0 || frame.pixels.size() < frameBytes) return;
  const bool sameLayout = frame.layout == picture.layout;
  if (sameLayout && frame.width == picture.width && frame.height == picture.height) {
    std::copy_n(frame.pixels.begin(), frameBytes, picture.pixels.begin());
    return;
  }
  for (int r = 0; r < picture.height; ++r) {
    const int fr = r * frame.height / picture.height;
    for (int c = 0; c < picture.width; ++c) {
      const int fc = c * frame.width / picture.width;
      const auto source = (static_cast<std::size_t>(fr) * frame.width + fc) * from;
      const auto target = (static_cast<std::size_t>(r) * picture.width + c) * to;
      if (sameLayout)
        std::copy_n(frame.pixels.begin() + static_cast<std::ptrdiff_t>(source), to,
                    picture.pixels.begin() + static_cast<std::ptrdiff_t>(target));
      else
        picture.setRgb(target, frame.rgbAt(source));
    }
  }
}

// Past the end of the route the video holds still; the pass draws nothing until the train is
// 500 frames beyond the end frame (or before it, after a switchback).
bool holdingAtEnd(const ScreenPass& pass, const SimDrive& drive) {
  if (pass.videoMode >= kStandingScene || drive.route->movieStopCount == 0) return false;
  const int end = drive.route->movieStop[0];
  const SimState& s = drive.state;
  if (pass.reverseFlag == 0 && s.speed > 0) return end < s.frame && s.frame < end + kEndHoldFrames;
  if (pass.reverseFlag == 1 && s.speed < 0) return end - kEndHoldFrames < s.frame && s.frame < end;
  return false;
}

// The picture is composed at the surface's device pixels in the layout the surface takes, and
// the reader scales the frames straight to that size, a frame of the picture's own size left as
// it is.
void fitPicture(ScreenPass& pass, media::VideoReader* video, const media::CabSurface& surface) {
  const auto [width, height] = surface.videoPixels();
  const media::PixelLayout layout = surface.videoLayout();
  if (width <= 0 || height <= 0) return;
  if (pass.picture.width == width && pass.picture.height == height && pass.picture.layout == layout)
    return;
  pass.picture = blankPicture(width, height, layout);
  pass.framePicture.layout = layout;  // the reader decodes straight into it
  pass.lastFetchedFrame = -1;
  if (video == nullptr) return;
  video->setOutputSize(width, height);
}

// Decodes the wanted frame when it changed and starts the picture from it. False when the
// wanted frame lies beyond the video: the pass then draws nothing and the last picture stays.
bool fetchFrame(ScreenPass& pass, const SimDrive& drive, media::VideoReader* video) {
  if (video != nullptr && video->frameCount() > 0 && pass.videoMode <= kRunningScene) {
    const int wanted = pass.videoMode == kRouteVideo ? shownVideoFrame(drive.state) : pass.subFrame;
    if (wanted >= 0) {
      if (wanted > video->frameCount()) return false;
      if (wanted != pass.lastFetchedFrame) {
        video->decodeFrame(wanted, pass.framePicture);
        if (pass.videoMode == kRouteVideo && drive.state.speed != 0)
          video->prefetch(wanted, drive.state.speed > 0 ? 1 : -1);
      }
      pass.lastFetchedFrame = wanted;
    }
  }
  // Each pass starts from the clean frame, so shading and the band do not pile up.
  copyFrame(pass.framePicture, pass.picture);
  return true;
}

void drawBandLine(media::CabSurface& surface, const std::string& text) {
  const auto [width, height] = surface.measureText(text, 12);
  const int x = (ScreenPass::kPictureWidth - width) / 2;
  const int y = kBandTop + (kBandBottom - kBandTop - height) / 2;
  surface.drawText(x, y, text, 12, kBandTextColour);
}

// `value` screen pixels at `scale`, kept well inside an int.
int scaled(int value, double scale) {
  if (scale == 1.0) return value;
  constexpr double kReach = 1 << 29;
  return static_cast<int>(std::lround(std::clamp(value * scale, -kReach, kReach)));
}

// The driver-aid panel goes over the classic picture: its boxes into the picture once the
// screen's own are there, its texts after the screen's own texts.
void layOverlays(ScreenPass& pass, const SimDrive& drive, media::CabSurface& surface) {
  const SimState& s = drive.state;
  const double scale = static_cast<double>(pass.picture.width) / ScreenPass::kPictureWidth;
  std::vector<AidLine> aids;
  if (drive.setup.settings.aids == 1) aids = aidLines(drive);
  if (pass.bandMode) {
    if (!s.guidance_shown.empty()) lightenTextBand(pass.picture, scale);
    shadeAidPanel(pass.picture, aids, surface, scale);
    surface.setVideoPicture(pass.picture);
    if (!s.guidance_shown.empty()) drawBandLine(surface, s.guidance_shown);
    writeAidPanel(surface, aids);
    return;
  }
  stretchKeyed(pass.stopLine, pass.picture, scaled(s.stop_line_left, scale),
               scaled(s.stop_line_top, scale), scaled(s.stop_line_size, scale));
  const std::vector<PlacedText> texts = placedTexts(pass, s);
  for (const PlacedText& t : texts) {
    const TextBox& box = pass.textBoxes[slotIndex(t.slot)];
    if (t.text->empty() || box.width <= 0) continue;
    shadeTextBox(pass.picture, t.x, t.y, box.height - 2, box.width, scale);
  }
  shadeAidPanel(pass.picture, aids, surface, scale);
  surface.setVideoPicture(pass.picture);
  for (const PlacedText& t : texts) {
    TextBox& box = pass.textBoxes[slotIndex(t.slot)];
    if (t.text->empty()) {
      box = {};
      continue;
    }
    surface.drawText(t.x + 1, t.y + 1, *t.text, t.size, kShadowColour);
    const auto [width, height] = surface.drawText(t.x, t.y, *t.text, t.size, kTextColour);
    box = {width, height};
  }
  writeAidPanel(surface, aids);
}

}  // namespace

ScreenPass::ScreenPass() : framePicture(blankPicture()), picture(blankPicture()) {}

int shownVideoFrame(const SimState& s) {
  if (s.run_mode == 1) return s.timed_frame;
  if (s.run_mode == 2) return s.frame - s.follow_offset;
  return s.frame;
}

bool runScreenPass(ScreenPass& pass, SimDrive& drive, const CabPanel& panel,
                   media::VideoReader* video, media::CabSurface& surface, std::uint32_t nowMs,
                   bool simulationRunning) {
  const std::uint32_t elapsed = nowMs - pass.lastPassTime;
  if (elapsed < kPassIntervalMs || !simulationRunning) return false;
  pass.fps = static_cast<int>(roundHalfEven(1000.0L / elapsed));
  pass.lastPassTime = nowMs;

  if (holdingAtEnd(pass, drive)) return false;
  fitPicture(pass, video, surface);
  if (!fetchFrame(pass, drive, video)) return false;
  layOverlays(pass, drive, surface);

  if (!surface.canDraw()) return false;
  surface.fillScreen(0);
  surface.drawSprites();
  surface.drawVideoSurface();
  if (panel.stopPointerPicture) {
    surface.drawPicture(*panel.stopPointerPicture, CabPanel::kPointerLeft,
                        drive.state.stop_pointer_top);
  }
  bool closed = false;
  if (pass.fadeLevel > 0) {
    surface.fillRectAlpha(0, 0, media::CabSurface::kWidth, kFadeBottom, 0, pass.fadeLevel);
    closed = advanceFade(pass.fadeLevel);
  }
  surface.flip();
  return closed;
}

void takeStopLinePicture(ScreenPass& pass, const SimDrive& drive) {
  pass.stopLine = {};
  if (drive.media.pictureStore == nullptr || !drive.train->StopLinePicture) return;
  pass.stopLine = copyKeyedPicture(*drive.media.pictureStore, *drive.train->StopLinePicture);
}

bool openRouteVideo(SimDrive& drive, media::VideoReader& video, std::string& message,
                    const std::vector<int>& savedFrames) {
  const std::string file =
      findVideoFileName(drive.setup.root, drive.strings, drive.route->dataName);
  std::string error;
  // The name may come from Windows: "\" separators and any letter case, below the data root.
  if (!video.open(resolvePath(drive.setup.root, file), error)) {
    message = media::fill(media::translate("ScreenPass", "%1映像ファイルを開けません"), {file});
    return false;
  }
  drive.state.video_end_frame = video.frameCount();
  expectRouteJumps(drive, video, savedFrames);
  return true;
}

void expectRouteJumps(const SimDrive& drive, media::VideoReader& video,
                      const std::vector<int>& savedFrames) {
  std::vector<int> frames = savedFrames;
  for (int i = 0; i < std::min(drive.route->stationCount, RouteData::kTable); ++i)
    frames.push_back(drive.route->stations[static_cast<std::size_t>(i)].stopFrame);
  video.expectJumps(frames);
}

}  // namespace velimoro
