// "kestovil fuelused_1_k7" and "kestovil fuelused_2_k7": the fuel burnt by each engine, added up a
// quarter of a second at a time from the simulator's fuel flow while the generator and AC buses
// are powered, on five odometer drums with a reset button.
#include "electrical/electrical.h"
#include "engines/engines.h"
#include "module/odometer.h"
#include "module/runs.h"
#include "module/services.h"

namespace {

constexpr double STEP_SECONDS = 0.25;
// One quarter-second's flow in pounds per hour, in kilograms, with the counter's own factor.
constexpr double KG_PER_STEP = 1.0 / 14400.0 * 1.3407037 * 0.453;
constexpr double MOST_FLOW = 1e7; // pounds per hour, beyond any engine
constexpr u8 BUTTON_UPDATES = 10;
constexpr int DRUMS = 5;

struct Counter {
  f64& used;
  f64& due;
  u8& armed;
  u8& reset;
  u8& button;
  MODULE_VAR& flow;
  double (&drums)[DRUMS];
};

MODULE_VAR sim_time = sim::token(0x25F);
MODULE_VAR flow_1 = sim::token(0x27E);
MODULE_VAR flow_2 = sim::token(0x291);
double drums_1[DRUMS];
double drums_2[DRUMS];

constexpr Counter counter_1{
    fuel_used_1, fuel_used_due_1, fuel_used_armed_1, fuel_used_reset_1, fuel_used_btn_1,
    flow_1,      drums_1};
constexpr Counter counter_2{
    fuel_used_2, fuel_used_due_2, fuel_used_armed_2, fuel_used_reset_2, fuel_used_btn_2,
    flow_2,      drums_2};

void count(const Counter& c) {
  if (elec_bus_gen == 1 && elec_ac_main_b == 1) {
    // Simulated seconds: a clock beyond a few thousand years is noise from the simulator, and
    // at such magnitudes a quarter second would no longer move the due time.
    const double now = k7::clamp(sim::read_finite(sim_time), -1e11, 1e11);
    // A clock set back leaves the due time ahead: start the quarter second again from now.
    if (c.armed == 0 || now < c.due - STEP_SECONDS) {
      c.due = now + STEP_SECONDS;
      c.armed = 1;
    } else if (now >= c.due) {
      const double flow = k7::clamp(sim::read_finite(c.flow), 0.0, MOST_FLOW);
      c.used += flow * KG_PER_STEP;
      c.armed = 0;
    }
  }
  if (c.reset != 0) {
    c.used = 0.0;
    c.reset = 0;
  }
  if (c.button > 0) --c.button;
  k7::odometer(c.used, c.drums);
}

// ---- drawing
// ------------------------------------------------------------------------------------------

constexpr ID DRUM_STRIP = 14688, DRUM_STRIP_NIGHT = 14720;
constexpr ID PRESSED = 14624, PRESSED_NIGHT = 14640, RELEASED = 14656, RELEASED_NIGHT = 14672;
constexpr PIXPOINT AT_PRESSED = {48, 75}, AT_RELEASED = {48, 66};

FLOAT64 FSAPI column(ELEMENT_MOVING_IMAGE*) {
  return 0.0;
}
template <const double (&Drums)[DRUMS], int N> FLOAT64 FSAPI drum(ELEMENT_MOVING_IMAGE*) {
  return Drums[N];
}

template <const double (&Drums)[DRUMS], ID Strip, FLAGS Flags> struct DrumRow {
  static constexpr k7::SlideEntry table[DRUMS] = {
      {Strip, {14, 43}, Flags, column, drum<Drums, 0>, 0.0, 10.0},
      {Strip, {30, 43}, Flags, column, drum<Drums, 1>, 0.0, 10.0},
      {Strip, {46, 43}, Flags, column, drum<Drums, 2>, 0.0, 10.0},
      {Strip, {62, 43}, Flags, column, drum<Drums, 3>, 0.0, 10.0},
      {Strip, {78, 43}, Flags, column, drum<Drums, 4>, 0.0, 10.0},
  };
};

// Chain: 0 face, 1-5 drums (ten-thousands to units), 6 button pressed, 7 released, 8 night face,
// 9-13 night drums, 14 night button pressed, 15 released.
constexpr k7::ImageEntry buttons_day[] = {{PRESSED, AT_PRESSED, k7::DAY_HIDDEN},
                                          {RELEASED, AT_RELEASED, k7::ART_DAY}};
constexpr k7::ImageEntry night_face_1[] = {{14592, {0, 0}, k7::NIGHT_HIDDEN}};
constexpr k7::ImageEntry buttons_night[] = {{PRESSED_NIGHT, AT_PRESSED, k7::NIGHT_HIDDEN},
                                            {RELEASED_NIGHT, AT_RELEASED, k7::NIGHT_HIDDEN}};
constexpr const auto& night_face_2 = night_face_1;

using NightButtons1 = k7::Run<gauge_fuelused_1, buttons_night>;
using NightDrums1 =
    k7::Run<gauge_fuelused_1, DrumRow<drums_1, DRUM_STRIP_NIGHT, k7::NIGHT_HIDDEN>::table,
            NightButtons1::head>;
using NightFace1 = k7::Run<gauge_fuelused_1, night_face_1, NightDrums1::head>;
using Buttons1 = k7::Run<gauge_fuelused_1, buttons_day, NightFace1::head>;
using Drums1 =
    k7::Run<gauge_fuelused_1, DrumRow<drums_1, DRUM_STRIP, k7::ART_DAY>::table, Buttons1::head>;

using NightButtons2 = k7::Run<gauge_fuelused_2, buttons_night>;
using NightDrums2 =
    k7::Run<gauge_fuelused_2, DrumRow<drums_2, DRUM_STRIP_NIGHT, k7::NIGHT_HIDDEN>::table,
            NightButtons2::head>;
using NightFace2 = k7::Run<gauge_fuelused_2, night_face_2, NightDrums2::head>;
using Buttons2 = k7::Run<gauge_fuelused_2, buttons_day, NightFace2::head>;
using Drums2 =
    k7::Run<gauge_fuelused_2, DrumRow<drums_2, DRUM_STRIP, k7::ART_DAY>::table, Buttons2::head>;

ELEMENT_STATIC_IMAGE face_1 =
    k7::static_image(&gauge_fuelused_1, 14464, {0, 0}, k7::TRANSPARENT, Drums1::head);
ELEMENT_STATIC_IMAGE face_2 =
    k7::static_image(&gauge_fuelused_2, 14464, {0, 0}, k7::TRANSPARENT, Drums2::head);

// The day drums always turn; at night the night face and drums cover them.
template <typename Buttons, typename NightFace, typename NightDrums, typename NightButtons>
void draw(const Counter& c) {
  const bool night = k7::panel_night();
  const std::size_t button = c.button > 0 ? 0 : 1;
  k7::show_position(Buttons::element, 2, night ? 2 : button);
  k7::show(NightFace::element[0], night);
  for (auto& d : NightDrums::element)
    k7::show(d, night);
  k7::show_position(NightButtons::element, 2, night ? button : 2);
}

void FSAPI callback_1(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  count(counter_1);
  draw<Buttons1, NightFace1, NightDrums1, NightButtons1>(counter_1);
}
void FSAPI callback_2(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  count(counter_2);
  draw<Buttons2, NightFace2, NightDrums2, NightButtons2>(counter_2);
}

template <const Counter& C> BOOL FSAPI on_reset(PPIXPOINT, FLAGS32) {
  C.reset = 1;
  C.button = BUTTON_UPDATES;
  return FALSE_K7;
}

constexpr PIXBOX RESET_BOX = {38, 65, 31, 31};
MOUSERECT mouse_1[] = {
    k7::mouse_parent(),
    k7::mouse_area(RESET_BOX, CURSOR_HAND, MOUSE_LEFTSINGLE, on_reset<counter_1>), K7_MOUSE_END};
MOUSERECT mouse_2[] = {
    k7::mouse_parent(),
    k7::mouse_area(RESET_BOX, CURSOR_HAND, MOUSE_LEFTSINGLE, on_reset<counter_2>), K7_MOUSE_END};

} // namespace

K7_GAUGE_HEADER(fuelused_1, face_1, mouse_1, callback_1);
K7_GAUGE_HEADER(fuelused_2, face_2, mouse_2, callback_2);
