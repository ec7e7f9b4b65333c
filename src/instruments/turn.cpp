// "kestovil turn_k7": the turn and sideslip indicator. The turn pointer follows the simulator's
// turn rate on the essential AC buses and returns to the centre without them; the ball rides in
// its curved tube. A click on the instrument shows or hides the pedestal window.
#include "autopilot/autopilot.h"
#include "electrical/electrical.h"
#include "instruments/instruments.h"
#include "module/daynight.h"
#include "module/services.h"

namespace {

constexpr double TURN_LIMIT = 1200.0;
constexpr double RETURN_STEP = 100.0;
constexpr double SIDESLIP_LIMIT = 127.0;
constexpr u32 PEDESTAL_WINDOW = 10040;

MODULE_VAR turn_rate = sim::token(0x46);
MODULE_VAR sideslip = sim::token(0x45);

double returned_to_centre(double pointer) {
  if (pointer > RETURN_STEP) return pointer - RETURN_STEP;
  if (pointer < -RETURN_STEP) return pointer + RETURN_STEP;
  return 0.0;
}

// ---- elements
// ------------------------------------------------------------------------------------------

constexpr NONLINEARITY dial[] = {
    {{44, 22}, -1200, 0}, {{67, 11}, -500, 0},  {{90, 7}, 0, 0},
    {{113, 11}, 500, 0},  {{137, 22}, 1200, 0},
};
constexpr PIXPOINT PIVOT{90, 154};
constexpr PIXPOINT NEEDLE_PIVOT{-10, 5};
constexpr PIXPOINT BALL_AT{80, 122};
constexpr FLAGS NEEDLE_NIGHT_HIDDEN = k7::NEEDLE_NIGHT | IMAGE_HIDDEN;

FAILURE_RECORD turn_failure[] = {{FAIL_GAUGE_TURN_COORDINATOR, FAIL_ACTION_ZERO, 0},
                                 {FAIL_NONE, FAIL_ACTION_NONE, 0}};

FLOAT64 FSAPI pointer_value(ELEMENT_NEEDLE*) {
  turn_rate_ind = k7::clamp(turn_rate_ind, -TURN_LIMIT, TURN_LIMIT);
  return turn_rate_ind;
}
FLOAT64 FSAPI ball_x(ELEMENT_SLIDER*) {
  return turn_ball_x;
}
FLOAT64 FSAPI ball_y(ELEMENT_SLIDER*) {
  return turn_ball_y;
}

template <typename Element> Element with_failure(Element e) {
  e.header.failure_systems = turn_failure;
  return e;
}

// Chain: 0 face, 1 ball, 2 glass, 3 needle, 4 blink icon, 5 night face, 6 night ball,
// 7 night glass, 8 night needle.
extern ELEMENT_SLIDER ball, night_ball;
extern ELEMENT_ICON glass, blink_icon, night_face, night_glass;
extern ELEMENT_NEEDLE needle, night_needle;

ELEMENT_STATIC_IMAGE face = with_failure(k7::static_image(
    &gauge_turn, k7::bitmap_id(GAUGE_INDEX_turn, 0), {0, 0}, k7::TRANSPARENT, K7_NEXT(ball)));
ELEMENT_SLIDER ball = k7::slider(&gauge_turn, 9808, BALL_AT, k7::ART_DAY, {ball_x, 1.0},
                                 {ball_y, 1.0}, K7_NEXT(glass));
ELEMENT_ICON glass = with_failure(k7::icon(&gauge_turn, k7::bitmap_id(GAUGE_INDEX_turn, 1), {0, 0},
                                           k7::ART_DAY, K7_NEXT(needle)));
ELEMENT_NEEDLE needle =
    with_failure(k7::needle(&gauge_turn, 9792, PIVOT, NEEDLE_PIVOT, k7::NEEDLE_DAY, pointer_value,
                            dial, 0, K7_NEXT(blink_icon)));
ELEMENT_ICON blink_icon = k7::icon(&gauge_turn, 10000, {134, 71}, k7::HIDDEN, K7_NEXT(night_face));
ELEMENT_ICON night_face =
    with_failure(k7::icon(&gauge_turn, 9824, {0, 0}, k7::NIGHT_HIDDEN, K7_NEXT(night_ball)));
ELEMENT_SLIDER night_ball = k7::slider(&gauge_turn, 9984, BALL_AT, k7::NIGHT_HIDDEN, {ball_x, 1.0},
                                       {ball_y, 1.0}, K7_NEXT(night_glass));
ELEMENT_ICON night_glass =
    with_failure(k7::icon(&gauge_turn, 9840, {0, 0}, k7::NIGHT_HIDDEN, K7_NEXT(night_needle)));
ELEMENT_NEEDLE night_needle = with_failure(k7::needle(
    &gauge_turn, 9856, PIVOT, NEEDLE_PIVOT, NEEDLE_NIGHT_HIDDEN, pointer_value, dial, 0, K7_END));

// ---- click
// ----------------------------------------------------------------------------------------------

BOOL FSAPI on_pedestal(PPIXPOINT, FLAGS32) {
  sim::window_toggle(PEDESTAL_WINDOW);
  return FALSE_K7;
}

MOUSERECT mouse[] = {
    k7::mouse_parent(),
    k7::mouse_tooltip("display/hide pedestal"),
    k7::mouse_area({110, 75, 149, 122}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_pedestal),
    K7_MOUSE_END,
};

// ---- update
// ------------------------------------------------------------------------------------------------

void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  const double rate = sim::read_finite(turn_rate);
  if (elec_ac_ess == 1 && elec_ac_ess_b == 1)
    turn_rate_ind = k7::clamp(rate, -TURN_LIMIT, TURN_LIMIT);
  else
    turn_rate_ind = returned_to_centre(turn_rate_ind);

  const double s = k7::clamp(sim::read_finite(sideslip), -SIDESLIP_LIMIT, SIDESLIP_LIMIT);
  turn_ball_x = s * 0.3;
  turn_ball_y = (s * s / 300.0) * -0.05;

  k7::show(blink_icon, blink_phase == 1);
  k7::draw({&ball.header, &night_ball.header});
  k7::draw({&glass.header, &night_glass.header});
  k7::draw({&needle.header, &night_needle.header});
  k7::show(night_face, k7::panel_night());
}

} // namespace

K7_GAUGE_HEADER(turn, face, mouse, callback);
