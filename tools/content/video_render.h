#pragma once

#include <algorithm>
#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "tools/content/canvas.h"
#include "tools/content/route_builder.h"

namespace velimoro::content {

/// Size of the route videos in pixels.
inline constexpr int kVideoWidth = 604;
inline constexpr int kVideoHeight = 340;
/// Focal length of the route videos' camera in pixels of that size.
inline constexpr double kCameraFocal = 560;

/// The picture size of a rendering: the route videos' own, or the sharp one a large screen shows
/// with its own detail (the same view, every measure scaled with the width).
struct VideoSize {
  int width = kVideoWidth;
  int height = kVideoHeight;
};
inline constexpr VideoSize kHdVideoSize{1280, 720};
/// Frames a second of the route videos (the routes' "[FrameRate]").
inline constexpr int kVideoFrameRate = 30;

/// The driver's view along a built route's filmed run: frame n shows the line at the distance
/// the filming-speed table gives frame n.
class RouteScene {
 public:
  explicit RouteScene(const BuiltRoute& route, VideoSize size = {});

  /// Size of the frames drawn.
  VideoSize size() const { return m_size; }
  /// Pixels of this size to one pixel of a kVideoWidth-wide picture.
  double unit() const { return m_unit; }
  /// The narrowest upright face drawn, in pixels: one pixel of a kVideoWidth-wide picture.
  int thinnest() const { return std::max(1, static_cast<int>(std::lround(m_unit))); }
  /// Focal length of the camera in pixels.
  double focal() const { return m_focal; }

  /// Frames of the video: every frame up to and including the route's last one.
  int frames() const { return static_cast<int>(m_metres.size()); }
  /// Metres from the line's start at frame `frame`.
  double metreAt(int frame) const;
  /// Draws frame `frame` into `canvas`, which has the scene's size().
  void draw(int frame, Canvas& canvas);

  /// The designed bend (1/m, positive to the right) and gradient (per mille) at a metre.
  double curvatureAt(double metre) const;
  double gradientAt(double metre) const;

  using Point = PointF;
  /// Where a point `lateral` metres right of the track, `height` metres above the rail and `z`
  /// metres ahead appears on the frame last drawn, so that what is added to it stands on the
  /// line as the video shows it.
  Point project(double lateral, double height, double z) const;

 private:
  double lateralAt(double z) const;
  double riseAt(double z) const;
  void fillQuad(Canvas& c, double x0, double x1, double h0, double h1, double z0, double z1,
                Rgb colour) const;
  void fillFace(Canvas& c, double x0, double x1, double h0, double h1, double z, Rgb colour) const;
  void fillSide(Canvas& c, double x, double h0, double h1, double z0, double z1, Rgb colour) const;
  void fillMember(Canvas& c, double x, double ha, double hb, double za, double zb, double half,
                  Rgb colour) const;

  // A bridge in view: its near and far ends in metres ahead of the camera.
  struct Span {
    double near;
    double far;
  };
  bool onBridge(double z, double margin) const;
  void fillValley(Canvas& c, const Span& s) const;
  void fillDeck(Canvas& c, const Span& s, double trackEnd) const;
  void fillTrussPanel(Canvas& c, const Span& s, int panel) const;

  BuiltRoute m_route;
  VideoSize m_size;
  double m_unit = 1;
  double m_focal = kCameraFocal;
  std::vector<double> m_metres;   // per frame
  std::vector<double> m_heading;  // radians per metre of the line
  // Per drawn frame: the track's offset and rise against the camera every kStep metres ahead.
  std::vector<double> m_lateral;
  std::vector<double> m_rise;
  std::vector<Span> m_spans;  // far to near
  double m_horizon = 0;
  double m_metre = 0;
};

/// Renders the route's video to `path` (an MJPEG AVI of `size`), printing progress to
/// `progress` about every tenth of the frames. Returns the frames written; throws
/// std::runtime_error on failure.
int renderRouteVideo(const BuiltRoute& route, const std::string& path, std::ostream& progress,
                     VideoSize size = {});

/// Renders each line's video once into `root`/move/ (validateDemo then checks that each reaches
/// the end of every route that shows it).
void writeRouteVideos(const std::vector<BuiltRoute>& routes, const std::string& root,
                      std::ostream& progress, VideoSize size = {});

}  // namespace velimoro::content
