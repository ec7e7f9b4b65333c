// "kestovil nozzle_1_k7" and "kestovil nozzle_2_k7": the nozzle lamps, lit with the throttle at its
// full-travel stop. The lamp sits on a pop-up window that the simulator does not redraw by itself
// at night, so each change of the lamp at night closes and reopens that window in one update.
#include "instruments/engine_twins.h"
#include "module/services.h"

namespace {

using k7::EngineTwin;

constexpr u32 KEY_WINDOW_TOGGLE = 0x103CA;
constexpr double FULL_TRAVEL = 0.98;

// The lamp's states: settled off, going off (two refreshes due), coming on (two due), settled on.
enum : u8 { OFF = 0, GOING_OFF = 1, GOING_OFF_2 = 2, COMING_ON = 3, COMING_ON_2 = 4, ON = 5 };

// One update of the lamp: returns whether it shows, sending the window toggles a change calls for.
bool nozzle_step(u8& state, bool lit, u32 window) {
  if (lit && state < COMING_ON) state = COMING_ON;
  if (!lit && state >= COMING_ON) state = GOING_OFF;
  const auto toggle = [&](u8 next) {
    sim::key_event(KEY_WINDOW_TOGGLE, window);
    state = next;
  };
  if (!k7::panel_night()) {
    if (!lit || state < COMING_ON) return false;
    state = ON; // refreshed at the first update with the night lighting on
    return true;
  }
  if (lit && state >= COMING_ON) {
    if (state == COMING_ON) toggle(COMING_ON_2);
    if (state == COMING_ON_2) toggle(ON);
    return true;
  }
  if (state == GOING_OFF) toggle(GOING_OFF_2);
  if (state == GOING_OFF_2) toggle(OFF);
  return false;
}

template <const EngineTwin& E, GAUGEHDR& G> struct Nozzle {
  static ELEMENT_STATIC_IMAGE lamp; // the gauge's only element, its background

  static void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
    static MODULE_VAR throttle = sim::token(E.throttle_token);
    if (service != PANEL_SERVICE_PRE_UPDATE) return;
    const bool lit = elec_bus_main == 1 && sim::read_finite(throttle) > FULL_TRAVEL;
    k7::show(lamp, nozzle_step(E.nozzle_state, lit, E.nozzle_window));
  }
  static MOUSERECT mouse[];
};

template <const EngineTwin& E, GAUGEHDR& G>
ELEMENT_STATIC_IMAGE Nozzle<E, G>::lamp = k7::static_image(&G, 384, {0, 0}, k7::HIDDEN, K7_END);
template <const EngineTwin& E, GAUGEHDR& G>
MOUSERECT Nozzle<E, G>::mouse[] = {k7::mouse_parent(), K7_MOUSE_END};

using Nozzle1 = Nozzle<k7::engine_1, gauge_nozzle_1>;
using Nozzle2 = Nozzle<k7::engine_2, gauge_nozzle_2>;

} // namespace

K7_GAUGE_HEADER(nozzle_1, Nozzle1::lamp, Nozzle1::mouse, Nozzle1::callback);
K7_GAUGE_HEADER(nozzle_2, Nozzle2::lamp, Nozzle2::mouse, Nozzle2::callback);
