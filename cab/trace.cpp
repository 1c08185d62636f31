#include "cab/trace.h"

#include "sim/state_fields.h"

namespace velimoro {

const std::vector<std::string>& traceColumns() {
  static const std::vector<std::string> columns = {
      "fast_tick_count",
      "tick_count",
      "speed",
      "force",
      "resistance",
      "slip_text",
      "frame",
      "frame_scale",
      "calib_index",
      "position_cm",
      "remain_cm",
      "gradient",
      "power_handle",
      "brake_handle",
      "power_notch",
      "brake_notch",
      "sap_notch",
      "reverser",
      "hold_engaged",
      "power_mode",
      "const_speed",
      "reverser_text",
      "power_text",
      "brake_text",
      "gear_text",
      "bc",
      "bc_gauge",
      "bp",
      "mr",
      "sap",
      "er",
      "compressor_on",
      "eb_device_count",
      "eb_lamp",
      "gear",
      "gear_index",
      "gear_shifting",
      "engine_running",
      "ammeter",
      "voltmeter",
      "signal_aspect",
      "ats_state",
      "ats_eb",
      "ats_pattern_brake",
      "atsp_state",
      "ats_warning",
      "ats_timer",
      "pattern_text",
      "traffic_stop_text",
      "traffic_detect_text",
      "doors_open",
      "door_cmd",
      "lamp_door",
      "station_index",
      "next_station_text",
      "next_stop_cm",
      "crew_text",
      "window_station",
      "run_ended",
      "pre_train_frame",
      "clock_text",
      "status_text",
      "guidance_shown",
      "aid_stop_cm",
      "aid_stop_ahead",
      "aid_stopped",
      "aid_stop_result_cm",
      "aid_stop_tolerance_cm",
      "aid_signal_aspect",
      "aid_signal_cm",
      "aid_limit",
      "aid_next_limit",
      "aid_next_limit_cm",
      "aid_top_notch",
      "aid_refused",
      "aid_refused_tick",
      "brake_cause",
  };
  return columns;
}

void writeTraceHeader(std::ostream& out) {
  bool first = true;
  for (const std::string& column : traceColumns()) {
    out << (first ? "" : ",") << column;
    first = false;
  }
  out << '\n';
}

void writeTraceRow(std::ostream& out, const SimState& s) {
  bool first = true;
  for (const std::string& column : traceColumns()) {
    if (!first) out << ',';
    first = false;
    out << csvQuote(formatStateField(s, *findStateField(column)));
  }
  out << '\n';
}

std::string csvQuote(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

}  // namespace velimoro
