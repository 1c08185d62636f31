#include "sim/state_fields.h"

#include <cstdio>

#include "data/numbers.h"

namespace velimoro {

const std::vector<StateField>& stateFields() {
  static const std::vector<StateField> fields = {
      {"speed", &SimState::speed},
      {"force", &SimState::force},
      {"resistance", &SimState::resistance},
      {"last_traction", &SimState::last_traction},
      {"projected_speed", &SimState::projected_speed},
      {"brake_rate_now", &SimState::brake_rate_now},
      {"brake_rate_first", &SimState::brake_rate_first},
      {"adhesion", &SimState::adhesion},
      {"adhesion_limit", &SimState::adhesion_limit},
      {"gradient", &SimState::gradient},
      {"gradient_post", &SimState::gradient_post},
      {"gradient_mark_cm", &SimState::gradient_mark_cm},
      {"slip_text", &SimState::slip_text},
      {"speed_text", &SimState::speed_text},
      {"resistance_off", &SimState::resistance_off},
      {"squeal_volume", &SimState::squeal_volume},
      {"slope_text", &SimState::slope_text},
      {"slope_image", &SimState::slope_image},
      {"reverser", &SimState::reverser},
      {"power_handle", &SimState::power_handle},
      {"brake_handle", &SimState::brake_handle},
      {"power_notch", &SimState::power_notch},
      {"brake_notch", &SimState::brake_notch},
      {"sap_notch", &SimState::sap_notch},
      {"power_change_pending", &SimState::power_change_pending},
      {"brake_change_pending", &SimState::brake_change_pending},
      {"sap_change_pending", &SimState::sap_change_pending},
      {"power_delay_count", &SimState::power_delay_count},
      {"brake_delay_count", &SimState::brake_delay_count},
      {"sap_delay_count", &SimState::sap_delay_count},
      {"hold_engaged", &SimState::hold_engaged},
      {"hold_left", &SimState::hold_left},
      {"const_speed", &SimState::const_speed},
      {"power_mode", &SimState::power_mode},
      {"input_blocked", &SimState::input_blocked},
      {"swap_keypad", &SimState::swap_keypad},
      {"reverser_text", &SimState::reverser_text},
      {"power_text", &SimState::power_text},
      {"brake_text", &SimState::brake_text},
      {"gear_text", &SimState::gear_text},
      {"notch_picture_p", &SimState::notch_picture_p},
      {"notch_picture_b", &SimState::notch_picture_b},
      {"notch_picture_p2", &SimState::notch_picture_p2},
      {"notch_picture_b2", &SimState::notch_picture_b2},
      {"gear_lever_picture", &SimState::gear_lever_picture},
      {"lamp_fwd", &SimState::lamp_fwd},
      {"lamp_back", &SimState::lamp_back},
      {"bc", &SimState::bc},
      {"bc_gauge", &SimState::bc_gauge},
      {"bp", &SimState::bp},
      {"mr", &SimState::mr},
      {"sap", &SimState::sap},
      {"er", &SimState::er},
      {"compressor_on", &SimState::compressor_on},
      {"brake_sound_once", &SimState::brake_sound_once},
      {"eb_lamp", &SimState::eb_lamp},
      {"deadman_off", &SimState::deadman_off},
      {"ats_eb", &SimState::ats_eb},
      {"ats_pattern_brake", &SimState::ats_pattern_brake},
      {"eb_device_count", &SimState::eb_device_count},
      {"brake_cause", &SimState::brake_cause},
      {"alarm_cause", &SimState::alarm_cause},
      {"aid_stop_cm", &SimState::aid_stop_cm},
      {"aid_stop_ahead", &SimState::aid_stop_ahead},
      {"aid_stopped", &SimState::aid_stopped},
      {"aid_stop_result_cm", &SimState::aid_stop_result_cm},
      {"aid_stop_tolerance_cm", &SimState::aid_stop_tolerance_cm},
      {"aid_signal_aspect", &SimState::aid_signal_aspect},
      {"aid_signal_cm", &SimState::aid_signal_cm},
      {"aid_limit", &SimState::aid_limit},
      {"aid_next_limit", &SimState::aid_next_limit},
      {"aid_next_limit_cm", &SimState::aid_next_limit_cm},
      {"aid_top_notch", &SimState::aid_top_notch},
      {"aid_refused", &SimState::aid_refused},
      {"aid_refused_tick", &SimState::aid_refused_tick},
      {"frame", &SimState::frame},
      {"frame_accum", &SimState::frame_accum},
      {"frame_scale", &SimState::frame_scale},
      {"calib_index", &SimState::calib_index},
      {"position_cm", &SimState::position_cm},
      {"position_step_cm", &SimState::position_step_cm},
      {"next_stop_cm", &SimState::next_stop_cm},
      {"next_stop_station", &SimState::next_stop_station},
      {"remain_cm", &SimState::remain_cm},
      {"video_end_frame", &SimState::video_end_frame},
      {"pre_train_frame", &SimState::pre_train_frame},
      {"pre_train_accum", &SimState::pre_train_accum},
      {"pre_train_scale", &SimState::pre_train_scale},
      {"pre_train_calib", &SimState::pre_train_calib},
      {"run_mode", &SimState::run_mode},
      {"timed_frame", &SimState::timed_frame},
      {"follow_offset", &SimState::follow_offset},
      {"fast_tick_count", &SimState::fast_tick_count},
      {"tick_count", &SimState::tick_count},
      {"ammeter", &SimState::ammeter},
      {"ammeter_target", &SimState::ammeter_target},
      {"voltmeter", &SimState::voltmeter},
      {"voltmeter_target", &SimState::voltmeter_target},
      {"engine_running", &SimState::engine_running},
      {"gear_index", &SimState::gear_index},
      {"gear", &SimState::gear},
      {"gear_shifting", &SimState::gear_shifting},
      {"gear_shift_count", &SimState::gear_shift_count},
      {"gear_shown", &SimState::gear_shown},
      {"gear_picture", &SimState::gear_picture},
      {"doors_open", &SimState::doors_open},
      {"door_cmd", &SimState::door_cmd},
      {"station_index", &SimState::station_index},
      {"debug_mode", &SimState::debug_mode},
      {"ats_active", &SimState::ats_active},
      {"beginner_mode", &SimState::beginner_mode},
      {"guidance_text", &SimState::guidance_text},
      {"last_guidance", &SimState::last_guidance},
      {"status_text", &SimState::status_text},
      {"signal_aspect", &SimState::signal_aspect},
      {"traffic_stop_text", &SimState::traffic_stop_text},
      {"traffic_detect_text", &SimState::traffic_detect_text},
      {"ats_state", &SimState::ats_state},
      {"ats_warning", &SimState::ats_warning},
      {"ats_confirmed", &SimState::ats_confirmed},
      {"ats_timer", &SimState::ats_timer},
      {"ats_chime", &SimState::ats_chime},
      {"lamp_ats1", &SimState::lamp_ats1},
      {"lamp_ats2", &SimState::lamp_ats2},
      {"atsp_state", &SimState::atsp_state},
      {"pattern_text", &SimState::pattern_text},
      {"atc_braking", &SimState::atc_braking},
      {"atsp_target", &SimState::atsp_target},
      {"atsp_pattern_speed", &SimState::atsp_pattern_speed},
      {"atsp_target_cm", &SimState::atsp_target_cm},
      {"lamp_atsp1", &SimState::lamp_atsp1},
      {"lamp_atsp2", &SimState::lamp_atsp2},
      {"lamp_g", &SimState::lamp_g},
      {"lamp_yg", &SimState::lamp_yg},
      {"lamp_y", &SimState::lamp_y},
      {"lamp_yy", &SimState::lamp_yy},
      {"lamp_r", &SimState::lamp_r},
      {"signal_in_view", &SimState::signal_in_view},
      {"signal_shown", &SimState::signal_shown},
      {"signal_picture", &SimState::signal_picture},
      {"signal_picture_x", &SimState::signal_picture_x},
      {"signal_left_picture", &SimState::signal_left_picture},
      {"signal_left_x", &SimState::signal_left_x},
      {"signal_right_picture", &SimState::signal_right_picture},
      {"signal_right_x", &SimState::signal_right_x},
      {"signal_plate_picture", &SimState::signal_plate_picture},
      {"traffic_signal_picture", &SimState::traffic_signal_picture},
      {"traffic_signal_picture2", &SimState::traffic_signal_picture2},
      {"traffic_phase_shown", &SimState::traffic_phase_shown},
      {"anim_record", &SimState::anim_record},
      {"anim_ticks", &SimState::anim_ticks},
      {"anim_step", &SimState::anim_step},
      {"anim_picture", &SimState::anim_picture},
      {"limit_sign_picture", &SimState::limit_sign_picture},
      {"limit_sign_visible", &SimState::limit_sign_visible},
      {"limit_sign_blinking", &SimState::limit_sign_blinking},
      {"limit_shown", &SimState::limit_shown},
      {"limit_warned", &SimState::limit_warned},
      {"cab_signal_pattern", &SimState::cab_signal_pattern},
      {"cab_signal_visible", &SimState::cab_signal_visible},
      {"cab_signal_index", &SimState::cab_signal_index},
      {"window_station", &SimState::window_station},
      {"arrival_tick", &SimState::arrival_tick},
      {"departure_pending", &SimState::departure_pending},
      {"run_ended", &SimState::run_ended},
      {"next_station_text", &SimState::next_station_text},
      {"crew_text", &SimState::crew_text},
      {"start_station", &SimState::start_station},
      {"stop_marker", &SimState::stop_marker},
      {"lamp_door", &SimState::lamp_door},
      {"stop_line_left", &SimState::stop_line_left},
      {"stop_line_top", &SimState::stop_line_top},
      {"stop_line_size", &SimState::stop_line_size},
      {"stop_pointer_top", &SimState::stop_pointer_top},
      {"announce_index", &SimState::announce_index},
      {"boarding_event", &SimState::boarding_event},
      {"boarding_event_open", &SimState::boarding_event_open},
      {"boarding_event_tick", &SimState::boarding_event_tick},
      {"random_seed", &SimState::random_seed},
      {"pending_callout", &SimState::pending_callout},
      {"callout_station", &SimState::callout_station},
      {"last_callout_key", &SimState::last_callout_key},
      {"second_callout", &SimState::second_callout},
      {"second_callout_armed", &SimState::second_callout_armed},
      {"callout_signal", &SimState::callout_signal},
      {"signal_callout_state", &SimState::signal_callout_state},
      {"signal_callout_number", &SimState::signal_callout_number},
      {"crossing_picture_shown", &SimState::crossing_picture_shown},
      {"clock_text", &SimState::clock_text},
      {"clock_last_second", &SimState::clock_last_second},
      {"clock_redraw", &SimState::clock_redraw},
      {"guidance_shown", &SimState::guidance_shown},
      {"guidance_frame", &SimState::guidance_frame},
      {"staf_shown", &SimState::staf_shown},
      {"staf_top", &SimState::staf_top},
      {"staf_left", &SimState::staf_left},
      {"client_width", &SimState::client_width},
      {"back_button_left", &SimState::back_button_left},
      {"view_select", &SimState::view_select},
      {"value_window_shown", &SimState::value_window_shown},
      {"direction_changed", &SimState::direction_changed},
  };
  return fields;
}

const StateField* findStateField(std::string_view name) {
  for (const StateField& field : stateFields()) {
    if (field.name == name) return &field;
  }
  return nullptr;
}

std::string formatStateField(const SimState& s, const StateField& field) {
  struct Format {
    const SimState& s;
    std::string operator()(int SimState::*m) const { return std::to_string(s.*m); }
    std::string operator()(bool SimState::*m) const { return (s.*m) ? "1" : "0"; }
    std::string operator()(long double SimState::*m) const {
      char text[64];
      std::snprintf(text, sizeof text, "%.6Lf", s.*m);
      return text;
    }
    std::string operator()(Fixed SimState::*m) const {
      const std::int64_t raw = (s.*m).raw();
      const std::uint64_t magnitude =
          raw < 0 ? 0 - static_cast<std::uint64_t>(raw) : static_cast<std::uint64_t>(raw);
      char text[64];
      std::snprintf(text, sizeof text, "%s%llu.%04llu", raw < 0 ? "-" : "",
                    static_cast<unsigned long long>(magnitude / Fixed::kScale),
                    static_cast<unsigned long long>(magnitude % Fixed::kScale));
      return text;
    }
    std::string operator()(std::string SimState::*m) const { return s.*m; }
  };
  return std::visit(Format{s}, field.member);
}

bool setStateField(SimState& s, const StateField& field, std::string_view value) {
  struct Set {
    SimState& s;
    std::string_view value;
    bool operator()(int SimState::*m) const {
      const auto v = parseInt(value);
      if (v) s.*m = *v;
      return v.has_value();
    }
    bool operator()(bool SimState::*m) const {
      const auto v = parseInt(value);
      if (v) s.*m = *v != 0;
      return v.has_value();
    }
    bool operator()(long double SimState::*m) const {
      const auto v = parseExtended(value);
      if (v) s.*m = *v;
      return v.has_value();
    }
    bool operator()(Fixed SimState::*m) const {
      const auto v = parseFixed(value);
      if (v) s.*m = *v;
      return v.has_value();
    }
    bool operator()(std::string SimState::*) const { return false; }
  };
  return std::visit(Set{s, value}, field.member);
}

}  // namespace velimoro
