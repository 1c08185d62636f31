#pragma once

#include <string>
#include <vector>

#include "data/fixed.h"
#include "data/route_data.h"
#include "data/route_document.h"

namespace velimoro {

// The record lines of a route data file, written so that the route reader reads back the very
// values: fields in the file's order, whole numbers in decimal, decimals with the fewest places
// that read back the same value (at least one). Texts are written as they are: a text field
// with a comma would read back cut at it.

/// A value of four places, as "0.35" or "25.0".
std::string decimalText(Fixed value);
/// A decimal that reads back as the same 80-bit value, as "62.5".
std::string decimalText(long double value);
/// A decimal that reads back as the same double.
std::string decimalText(double value);

std::string recordLine(const MovieSwitchEntry& e);
std::string recordLine(const PreTrainEntry& e);
std::string recordLine(const AnnounceEntry& e);
std::string recordLine(const RouteSoundEntry& e);
std::string recordLine(const DopplerEntry& e);
std::string recordLine(const TunnelEntry& e);
std::string recordLine(const StationEntry& e);
std::string recordLine(const SignalEntry& e);
std::string recordLine(const TrafficSignalEntry& e);
std::string recordLine(const SlopeEntry& e);
std::string recordLine(const SignEntry& e);
std::string recordLine(const AnimEntry& e);
std::string recordLine(const SignalCalloutEntry& e);
std::string recordLine(const StationCalloutEntry& e);
std::string recordLine(const SpeedLimitEntry& e);
/// "[SpeedCheck1]" records have two fields, "[SpeedCheck2]" records three.
std::string speedCheck1Line(const SpeedCheckEntry& e);
std::string speedCheck2Line(const SpeedCheckEntry& e);
std::string recordLine(const FrameSpeedEntry& e);
std::string recordLine(const CrossingEntry& e);
std::string recordLine(const TimeEntry& e);
std::string recordLine(const SwitchEntry& e);

/// The picture names of a route's image lists, which the route data keeps only as loaded
/// pictures. "[OtherImageList]" pairs take their sounds from the route data.
struct RoutePictureNames {
  std::vector<std::string> sign;
  std::vector<std::string> other;
  std::vector<std::string> anim;
  std::vector<std::string> signal;
  std::vector<std::string> trafficSignal;
  std::vector<std::string> signal2;
  std::vector<std::string> cross;
};

/// A whole route data file of `route`, every section in the reader's order. Returns false when a
/// text has no CP932 form or a table count lies outside its capacity.
bool writeRouteDocument(const RouteData& route, const RoutePictureNames& pictures,
                        RouteDocument& out);

}  // namespace velimoro
