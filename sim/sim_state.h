#pragma once

#include <array>
#include <limits>
#include <string>

#include "data/fixed.h"
#include "data/route_data.h"

namespace velimoro {

/// What the run knows of each station besides its route record.
struct StationFlags {
  bool in_window = false;  // the train stands in the station's stopping window
  bool arrived = false;
  bool departed = false;
  bool depart_announced = false;
  bool oneman_called = false;
};

/// Counts `counter` up by one; at the largest int it stays there.
inline void countUp(int& counter) {
  if (counter < std::numeric_limits<int>::max()) ++counter;
}

/// The running state of one drive. Field names are those the models and data formats use; the
/// fast step writes motion of the frame, pressures, delays and the clock, and everything else is
/// written by the tick and the input handlers. Values marked 999 mean "none yet".
struct SimState {
  static constexpr int kMaxCars = 64;

  // Motion.
  long double speed = 0;  // km/h, negative backwards
  Fixed force;            // N
  Fixed resistance;       // N
  Fixed last_traction;    // N, the force the ammeter follows
  Fixed projected_speed;  // km/h expected after the tick
  Fixed brake_rate_now;
  Fixed brake_rate_first;  // the first [BrakeRate] value, taken over by the second off EB
  Fixed adhesion;
  Fixed adhesion_limit;
  Fixed gradient;       // per mille felt by the train
  Fixed gradient_post;  // per mille of the table range the train is in
  std::array<int, kMaxCars> car_gradient{};
  long double gradient_mark_cm = 0;
  std::string slip_text;
  std::string speed_text;
  bool resistance_off = false;
  int squeal_volume = 0;   // hundredths of a decibel
  std::string slope_text;  // the gradient board: per mille with two decimals
  int slope_image = 0;     // sign picture of the board: 1 rising, 2 falling, 0 none

  // Handles and notches.
  int reverser = 1;  // 1 forward, 0 neutral, -1 reverse
  int power_handle = 0;
  int brake_handle = 0;  // 0 released .. -Brake emergency
  int power_notch = 0;
  int brake_notch = 0;
  int sap_notch = 0;
  bool power_change_pending = false;
  bool brake_change_pending = false;
  bool sap_change_pending = false;
  int power_delay_count = 0;
  int brake_delay_count = 0;
  int sap_delay_count = 0;
  bool hold_engaged = false;
  bool hold_left = false;
  bool const_speed = false;
  int power_mode = 0;
  bool input_blocked = true;
  int controller_type = 0;  // 0 keyboard or serial controller, 1 analogue-axis, 2 button pad
  int usb_last_sum = 0;     // the game controller's scan sum of the last scan
  bool swap_keypad = false;
  std::string reverser_text;
  std::string power_text;
  std::string brake_text;
  std::string gear_text;
  // Patterns of the notch and gear-lever strips of the cab panel, set with the handle texts.
  int notch_picture_p = 0;
  int notch_picture_b = 0;
  int notch_picture_p2 = 0;
  int notch_picture_b2 = 0;
  int gear_lever_picture = 0;
  bool lamp_fwd = true;  // reverser pilot lamps
  bool lamp_back = false;

  // Brakes and air (kPa).
  Fixed bc;
  Fixed bc_gauge;
  Fixed bp;
  Fixed mr;
  Fixed sap;
  long double er = 0;
  bool compressor_on = false;
  bool brake_sound_once = false;  // a release sound has played for the current handle position
  bool eb_lamp = false;           // the EB lamp of the dead-man timer
  bool deadman_off = false;       // switched off for the rest of the run by a debug mode
  bool ats_eb = false;
  bool ats_pattern_brake = false;
  int eb_device_count = 0;
  // What applied the automatic brake in force (a BrakeCause, sim/driver_aids.h), and what rang
  // the protection alarm that may end in one.
  int brake_cause = 0;
  int alarm_cause = 0;

  // Route position and video.
  int frame = 0;
  int frame_accum = 0;  // sum of rounded speeds since the last frame advance
  int frame_scale = 0;  // speed sum per video frame
  int calib_index = -1;
  long double position_cm = 0;
  long double position_step_cm = 0;
  long double next_stop_cm = 0;
  int next_stop_station = 0;
  long double remain_cm = 0;
  int video_end_frame = 0;  // frames of the route video; 0 when none is open
  int pre_train_frame = 0;
  int pre_train_accum = 0;
  int pre_train_scale = 0;
  int pre_train_calib = -1;
  int run_mode = 0;     // 0 driving, 1 video by time, 2 video follows frame - offset
  int timed_frame = 0;  // video frame of run mode 1
  int follow_offset = 0;

  // Clock, counters and panel values.
  int fast_tick_count = 0;  // 1/30 s; the timetable clock
  int tick_count = 0;
  int ammeter = 0;  // A
  int ammeter_target = 0;
  Fixed voltmeter;  // V
  Fixed voltmeter_target = Fixed::fromInt(1550);
  bool engine_running = true;
  int gear_index = 1;
  int gear = 1;
  bool gear_shifting = false;
  int gear_shift_count = 0;
  int gear_shown = 0;
  int gear_picture = 0;  // pattern shown by the gear picture strip
  bool doors_open = false;
  bool door_cmd = false;
  int station_index = 0;
  bool debug_mode = false;
  bool ats_active = true;
  bool beginner_mode = false;
  std::string guidance_text;
  std::string last_guidance;
  std::string status_text;  // the status bar's door message

  // Signals and protection.
  int signal_aspect = 999;
  std::string traffic_stop_text;
  std::string traffic_detect_text;
  int ats_state = 999;
  bool ats_warning = false;
  bool ats_confirmed = false;
  int ats_timer = 0;
  bool ats_chime = false;  // an acknowledged warning: the chime is due
  bool lamp_ats1 = false;  // white ATS lamp: protection in service
  bool lamp_ats2 = false;  // red ATS lamp: warning
  int atsp_state = 0;
  std::string pattern_text;
  bool atc_braking = false;
  int atsp_target = 999;           // km/h of the ATS-P target ahead; 999 none
  int atsp_pattern_speed = 999;    // km/h of the braking curve at the train; 999 none
  long double atsp_target_cm = 0;  // distance to the ATS-P target
  bool lamp_atsp1 = false;         // ATS-P pattern approach
  bool lamp_atsp2 = false;         // ATS-P brake
  bool lamp_g = false;             // signal repeater lamps, one per aspect class: clear,
  bool lamp_yg = false;            // reduced speed,
  bool lamp_y = false;             // caution,
  bool lamp_yy = false;            // restricting
  bool lamp_r = false;             // and stop
  // The cab screen's signal pictures, as indices into their picture lists (-1 none) with their
  // left edges: the signal head and the number plate ("[SignalImageList]"), the side
  // indicators, the road traffic signal and its detector ("[TrafficSignalImageList]"), the
  // speed-limit sign ("[SignalImageList2]") and the cab-signal strip's pattern.
  int signal_in_view = 999;  // signal whose range holds the frame
  int signal_shown = 999;    // aspect code the signal pictures show
  int signal_picture = -1;
  int signal_picture_x = 650;
  int signal_left_picture = -1;
  int signal_left_x = 600;
  int signal_right_picture = -1;
  int signal_right_x = 700;
  int signal_plate_picture = -1;
  int traffic_signal_picture = -1;
  int traffic_signal_picture2 = -1;
  int traffic_phase_shown = 999;
  // The lineside animation in view ("[Anim]"): its record (-1 none), ticks counted towards its
  // next picture, its step 0 .. 13 and the picture shown ("[AnimImageList]", -1 none).
  int anim_record = -1;
  int anim_ticks = 0;
  int anim_step = 0;
  int anim_picture = -1;
  int limit_sign_picture = -1;
  bool limit_sign_visible = false;
  bool limit_sign_blinking = false;
  int limit_shown = -1;   // speed limit whose picture the sign shows
  int limit_warned = -1;  // speed limit the braking curve warns of
  int cab_signal_pattern = 0;
  bool cab_signal_visible = false;
  int cab_signal_index = 0;  // pattern the speed checks show, plus 1; 0 none

  // The driver aids, read from the route ahead at each tick's end (sim/driver_aids.h).
  long double aid_stop_cm = 0;         // to the next stop point; 0 when none lies ahead
  bool aid_stop_ahead = false;         // a stop point lies ahead (or the train stands at one)
  bool aid_stopped = false;            // the train has come to rest at the stop point's station
  long double aid_stop_result_cm = 0;  // then: short of the point (> 0) or past it (< 0)
  long double aid_stop_tolerance_cm = 0;
  int aid_signal_aspect = 999;  // the next signal's aspect code; 999 none ahead
  long double aid_signal_cm = 0;
  int aid_limit = 0;  // the speed limit in force, km/h; 0 none
  int aid_next_limit = 0;
  long double aid_next_limit_cm = 0;  // 0 when no limit lies ahead
  int aid_top_notch = 0;              // the top notch the selected power mode allows
  int aid_refused = 0;                // an AidRefusal: the last notch or mode change refused
  int aid_refused_tick = 0;           // the tick_count it was refused at

  // Stations.
  int window_station = 0;
  int arrival_tick = 0;
  bool departure_pending = false;
  bool run_ended = false;
  bool crew_change_asked = false;  // the crew-change dialog came up; the run may go on
  std::string next_station_text;
  std::string crew_text;
  int start_station = 0;     // the station the run started at (0 also for the start position)
  bool stop_marker = false;  // the stop-position marker of a station window is on the screen
  bool lamp_door = false;    // the door pilot lamp is lit (doors closed); only with a lamp picture
  // Where the stop-line picture is stretched on the video picture (size 0: not shown), and the
  // row of the remaining-distance pointer beside it (-30: out of sight).
  int stop_line_left = 0;
  int stop_line_top = 0;
  int stop_line_size = 0;
  int stop_pointer_top = -30;
  int announce_index = 0;
  // An in-car announcement drew boarding passengers; see input/controls.h.
  bool boarding_event = false;
  bool boarding_event_open = false;
  int boarding_event_tick = 0;
  int random_seed = 1;        // state of the drive's own random numbers, so runs repeat
  int pending_callout = 999;  // other sound to call out on the call-out key; 900 a time check
  int callout_station = 999;  // station whose "[StationKanko]" call-outs a station event plays
  std::array<StationFlags, RouteData::kTable> stations{};

  // Call-outs (999: none).
  static constexpr int kCrossingCallouts = 11;
  int last_callout_key = 999;           // the pending call-out the call-out key played last
  int second_callout = 999;             // a second other sound for the call-out key
  bool second_callout_armed = false;    // ... waiting to be called out once
  int callout_signal = 999;             // signal whose "[SignalKanko]" voices the call-outs play
  int signal_callout_state = 999;       // set while the signal ahead has a call-out
  int signal_callout_number = 999;      // its "[KankoSound2]" voice: 21 + this number
  bool crossing_picture_shown = false;  // the level-crossing warning picture is up
  // Crossings whose call-out is pending, in table order; -1 empty (999 is a crossing index).
  std::array<int, kCrossingCallouts> crossing_pending{-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
  int lineside_frame = -1;  // the frame at which the crossings were last taken up

  // Clock and guidance display.
  std::string clock_text;
  int clock_last_second = -1;
  // End points (x, y) of the hour, minute and second hands on the 50 x 50 clock picture, and
  // whether the picture must be drawn again; only trains with an analogue clock set them.
  std::array<std::array<int, 2>, 3> clock_hands{};
  bool clock_redraw = false;
  std::string guidance_shown;
  int guidance_frame = 0;
  bool staf_shown = false;
  int staf_top = 0;  // the timetable strip's place on the cab window, and the window's width
  int staf_left = 750;
  int client_width = 750;
  int back_button_left = 720;
  int view_select = 0;
  bool value_window_shown = false;
  int direction_changed = 0;  // 1 after a switchback at the end of the line
};

}  // namespace velimoro
