// "kestovil montre_k7": the cockpit clock. Hour and minute hands show the simulator's time of day;
// a chronograph with a sweep seconds hand and a 15-minute counter runs from the simulator's running
// seconds; the bezel turns; in set mode four areas step the simulator's clock. No power needed.
#include "instruments/instruments.h"
#include "module/gauge.h"
#include "module/services.h"

namespace {

// ---- elements
// -------------------------------------------------------------------------------------------

// Every hand closes its turn at its top point, so that it moves smoothly through the last twelfth
// of its dial rather than jumping back from the last mark.
constexpr NONLINEARITY hour_dial[] = {
    {{128, 11}, 0, 0},  {{187, 27}, 1, 0},  {{230, 70}, 2, 0},  {{246, 128}, 3, 0},
    {{230, 186}, 4, 0}, {{187, 229}, 5, 0}, {{128, 243}, 6, 0}, {{70, 229}, 7, 0},
    {{27, 186}, 8, 0},  {{10, 128}, 9, 0},  {{27, 70}, 10, 0},  {{70, 27}, 11, 0},
    {{128, 11}, 12, 0},
};
constexpr NONLINEARITY sixty_dial[] = {
    {{128, 11}, 0, 0},   {{187, 27}, 5, 0},   {{230, 70}, 10, 0},  {{246, 128}, 15, 0},
    {{230, 186}, 20, 0}, {{187, 229}, 25, 0}, {{128, 243}, 30, 0}, {{70, 229}, 35, 0},
    {{27, 186}, 40, 0},  {{10, 128}, 45, 0},  {{27, 70}, 50, 0},   {{70, 27}, 55, 0},
    {{128, 11}, 60, 0},
};
constexpr NONLINEARITY counter_dial[] = {
    {{128, 141}, 0, 0}, {{155, 186}, 5, 0}, {{103, 186}, 10, 0}, {{128, 141}, 15, 0}};

constexpr FLAGS DYNAMIC = IMAGE_USE_TRANSPARENCY | IMAGE_USE_LUMINOUS;
constexpr PIXPOINT CENTRE{128, 128};

MODULE_VAR hours_var = sim::token(0x3);
MODULE_VAR minutes_var = sim::token(0x4);
MODULE_VAR seconds_var = sim::token(0x25C);

FLOAT64 FSAPI hour_value(ELEMENT_NEEDLE*) {
  return k7::clamp(clock_hour_hand, 0.0, 12.0);
}
FLOAT64 FSAPI minute_value(ELEMENT_NEEDLE*) {
  return k7::clamp(sim::read_finite(minutes_var), 0.0, 60.0);
}
FLOAT64 FSAPI seconds_value(ELEMENT_NEEDLE*) {
  return chrono_seconds > 60 ? 60.0 : chrono_seconds;
}
FLOAT64 FSAPI counter_value(ELEMENT_NEEDLE*) {
  return chrono_minutes > 15 ? 15.0 : chrono_minutes;
}
FLOAT64 FSAPI bezel_angle(ELEMENT_SPRITE*) {
  return clock_bezel;
}

// Chain: 0 face, 1-2 fixed icons, 3 set-mode button out, 4 in, 5 bezel, 6 counter, 7 hour hand,
// 8 minute hand, 9 seconds hand.
extern ELEMENT_ICON icon_a, icon_b, button_out, button_in;
extern ELEMENT_SPRITE bezel;
extern ELEMENT_NEEDLE counter_hand, hour_hand, minute_hand, seconds_hand;

ELEMENT_STATIC_IMAGE face =
    k7::static_image(&gauge_montre, 28768, {0, 0}, IMAGE_USE_TRANSPARENCY, K7_NEXT(icon_a));
ELEMENT_ICON icon_a =
    k7::icon(&gauge_montre, 28784, {94, 243}, IMAGE_USE_TRANSPARENCY, K7_NEXT(icon_b));
ELEMENT_ICON icon_b =
    k7::icon(&gauge_montre, 28800, {25, 217}, IMAGE_USE_TRANSPARENCY, K7_NEXT(button_out));
ELEMENT_ICON button_out = k7::icon(&gauge_montre, 28816, {207, 193}, DYNAMIC, K7_NEXT(button_in));
ELEMENT_ICON button_in =
    k7::icon(&gauge_montre, 28928, {207, 193}, DYNAMIC | IMAGE_HIDDEN, K7_NEXT(bezel));
ELEMENT_SPRITE bezel =
    k7::sprite(&gauge_montre, 28944, {12, 12}, CENTRE, 1.0f, DYNAMIC, {nullptr, 0.0},
               {nullptr, 0.0}, {bezel_angle, 1.0}, K7_NEXT(counter_hand));
ELEMENT_NEEDLE counter_hand = k7::needle(&gauge_montre, 28960, {128, 171}, {-5, 2}, DYNAMIC,
                                         counter_value, counter_dial, 0, K7_NEXT(hour_hand));
ELEMENT_NEEDLE hour_hand = k7::needle(&gauge_montre, 28976, CENTRE, {-6, 7}, DYNAMIC, hour_value,
                                      hour_dial, 0, K7_NEXT(minute_hand));
ELEMENT_NEEDLE minute_hand = k7::needle(&gauge_montre, 28992, CENTRE, {-6, 7}, DYNAMIC,
                                        minute_value, sixty_dial, 0, K7_NEXT(seconds_hand));
ELEMENT_NEEDLE seconds_hand = k7::needle(&gauge_montre, 29008, CENTRE, {-6, 7}, DYNAMIC,
                                         seconds_value, sixty_dial, 0, K7_END);

// ---- click areas
// ----------------------------------------------------------------------------------------

constexpr u32 BEZEL_STEP = 6, BEZEL_TOP = 354;

BOOL FSAPI bezel_back(PPIXPOINT, FLAGS32) {
  clock_bezel = clock_bezel == 0 || clock_bezel > BEZEL_TOP ? BEZEL_TOP : clock_bezel - BEZEL_STEP;
  return 0;
}
BOOL FSAPI bezel_on(PPIXPOINT, FLAGS32) {
  clock_bezel = clock_bezel >= BEZEL_TOP ? 0 : clock_bezel + BEZEL_STEP;
  return 0;
}
BOOL FSAPI chrono_reset(PPIXPOINT, FLAGS32) {
  chrono_reset_req = 1;
  return 0;
}
BOOL FSAPI chrono_start_stop(PPIXPOINT, FLAGS32) {
  chrono_running = chrono_running == 0;
  // Started: the reference is taken afresh at the next update, not from one noted before the
  // window was last closed.
  if (chrono_running != 0) chrono_ref_taken = 0;
  return 0;
}
BOOL FSAPI set_mode(PPIXPOINT, FLAGS32) {
  clock_set_mode = clock_set_mode == 0;
  return 0;
}
// The simulator's clock steps: hours down and up, minutes down and up.
template <u32 Key> BOOL FSAPI step_time(PPIXPOINT, FLAGS32) {
  if (clock_set_mode == 1) sim::key_event(Key, 0);
  return 0;
}

constexpr FLAGS32 HELD = MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT;

MOUSERECT mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({0, 49, 67, 138}, CURSOR_DOWNARROW, HELD, bezel_back),
    k7::mouse_area({189, 49, 67, 138}, CURSOR_UPARROW, HELD, bezel_on),
    k7::mouse_area({22, 199, 40, 75}, CURSOR_HAND, MOUSE_LEFTSINGLE, chrono_reset),
    k7::mouse_area({108, 228, 40, 75}, CURSOR_HAND, MOUSE_LEFTSINGLE, chrono_start_stop),
    k7::mouse_area({196, 201, 40, 75}, CURSOR_HAND, MOUSE_LEFTSINGLE, set_mode),
    k7::mouse_area({68, 228, 40, 38}, CURSOR_DOWNARROW, HELD, step_time<0x10079>),
    k7::mouse_area({148, 228, 40, 38}, CURSOR_UPARROW, HELD, step_time<0x1007A>),
    k7::mouse_area({68, 266, 40, 37}, CURSOR_DOWNARROW, HELD, step_time<0x1007B>),
    k7::mouse_area({148, 266, 40, 37}, CURSOR_UPARROW, HELD, step_time<0x1007C>),
    K7_MOUSE_END,
};

// ---- the update
// -----------------------------------------------------------------------------------------

constexpr u32 MINUTE = 60, COUNTER_TOP = 15;

// Seconds of the simulator's clock as a signed whole count (the clock may go back after a flight
// reset, and may hold anything).
i64 whole_seconds(double t) {
  return static_cast<i64>(k7::sat_cast<i32>(t));
}

// One update of the chronograph. The reference is the clock reading at which the current minute
// started; a clock that went back below it re-bases it so that the count resumes from the seconds
// shown.
void update_chrono(i64 now) {
  const auto set_ref = [](i64 ref) {
    chrono_ref = k7::sat_cast<i32>(static_cast<double>(ref));
    chrono_ref_taken = 1;
  };
  if (chrono_running == 0) {
    set_ref(now - chrono_seconds); // the count resumes where it stopped
  } else if (chrono_ref_taken == 0) {
    set_ref(now - chrono_seconds);
  } else if (chrono_seconds < MINUTE) {
    const i64 elapsed = now - chrono_ref;
    if (elapsed < 0)
      set_ref(now - chrono_seconds);
    else
      chrono_seconds = elapsed > MINUTE ? MINUTE : static_cast<u32>(elapsed);
  } else {
    chrono_minutes = chrono_minutes >= COUNTER_TOP ? 0 : chrono_minutes + 1;
    set_ref(static_cast<i64>(chrono_ref) + MINUTE);
    chrono_seconds = 0;
  }
  if (chrono_reset_req == 1) {
    chrono_seconds = chrono_minutes = 0;
    chrono_ref = 0;
    chrono_ref_taken = 0;
    chrono_reset_req = 0;
  }
}

void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  const double hours = sim::read_finite(hours_var);
  const double minutes = sim::read_finite(minutes_var);
  const double dial_hours = hours >= 12 ? hours - 12 : hours;
  clock_hour_hand = k7::clamp(dial_hours + minutes * 0.0166667, 0.0, 12.0);
  update_chrono(whole_seconds(sim::read_finite(seconds_var)));
  k7::show(button_in, clock_set_mode == 1);
  k7::show(button_out, clock_set_mode != 1);
}

} // namespace

K7_GAUGE_HEADER(montre, face, mouse, callback);
