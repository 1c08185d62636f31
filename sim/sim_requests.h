#pragma once

namespace velimoro {

/// What the models ask of the layers above the simulation: the driver's call-outs, which queue
/// and play beside the picture and the panel. The cab session answers them.
class SimRequests {
 public:
  virtual ~SimRequests() = default;
  /// Queues call-out voice `voice`.
  virtual void queueCallout(int voice) = 0;
  /// The station call-outs of station `callout_station` for station event `event` (0 .. 5).
  virtual void stationCallout(int event) = 0;
};

}  // namespace velimoro
