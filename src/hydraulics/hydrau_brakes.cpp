// "kestovil hydrau_brakes_norm_k7" and "kestovil hydrau_brakes_stby_k7": the normal brakes (green
// circuit, with the brake noise) and the standby brakes (red circuit). Each gauge shows its
// accumulator and its left and right brake pressures on the same face.
#include "electrical/electrical.h"
#include "gear/gear.h"
#include "module/daynight.h"
#include "hydraulics/hyd_logic.h"
#include "hydraulics/hyd_sim.h"
#include "hydraulics/hydraulics.h"
#include "panels/panels.h"
#include "sound/sound.h"

namespace {

const NONLINEARITY left_scale[] = {
    {{63, 171}, 0, 0},   {{36, 153}, 500, 0}, {{20, 124}, 1000, 0},
    {{24, 90}, 1500, 0}, {{43, 63}, 2000, 0},
};
const NONLINEARITY right_scale[] = {
    {{134, 70}, 2000, 0}, {{148, 101}, 1500, 0}, {{146, 134}, 1000, 0},
    {{127, 161}, 500, 0}, {{96, 173}, 0, 0},
};
const NONLINEARITY accu_scale[] = {
    {{149, 45}, 3000, 0},
    {{113, 76}, 2000, 0},
    {{64, 73}, 1000, 0},
    {{32, 35}, 0, 0},
};
constexpr PIXPOINT BRAKES_PIVOT = {85, 112};
constexpr PIXPOINT ACCU_PIVOT = {92, 16};
constexpr PIXPOINT NEEDLE_PIVOT = {5, 5};
constexpr SINT32 NEEDLE_SPEED = 20;

MODULE_VAR on_ground_var = sim::token(hyd::TOKEN_ON_GROUND);
MODULE_VAR airspeed_var = sim::token(hyd::TOKEN_AIRSPEED);
MODULE_VAR brake_left_var = sim::token(hyd::TOKEN_BRAKE_LEFT);
MODULE_VAR brake_right_var = sim::token(hyd::TOKEN_BRAKE_RIGHT);
MODULE_VAR park_var = sim::token(hyd::TOKEN_PARK_BRAKE);

struct BrakeInputs {
  bool on_ground;
  double left, right, park;
};
BrakeInputs read_brakes() {
  return {sim::read_finite(on_ground_var) == 1.0, sim::read_finite(brake_left_var),
          sim::read_finite(brake_right_var), sim::read_finite(park_var)};
}

void set_both(u16& left, u16& right, u16 value) {
  left = value;
  right = value;
}

// Normal brakes: green pressure; kept as they were without the essential bus.
void normal_brakes() {
  brake_norm_accu = hydrau_press_green;
  const BrakeInputs in = read_brakes();
  if (!in.on_ground || hyd_park_auto == 1) {
    set_both(brake_norm_l, brake_norm_r, 0);
  } else if (elec_bus_ess != 0) {
    if (hydrau_press_green < 1401) {
      set_both(brake_norm_l, brake_norm_r, 0);
    } else if (in.park <= 0.1) {
      brake_norm_l = hyd::brake_psi(in.left);
      brake_norm_r = hyd::brake_psi(in.right);
    } else {
      set_both(brake_norm_l, brake_norm_r, hyd::brake_psi(in.park));
    }
  }

  const bool noise = in.on_ground && in.park == 0.0 && sim::read_finite(airspeed_var) >= 30.0 &&
                     (in.left > 1000.0 || in.right > 1000.0);
  if (noise && brake_noise_on == 0) sound_play(SND_BRAKESSND, true);
  if (!noise && brake_noise_on != 0) sound_stop(SND_BRAKESSND);
  brake_noise_on = noise;
}

// Standby brakes: red pressure; they take over the pedals only while the green circuit is low
// and the red one high, unless the parking-brake lever selects them.
void standby_brakes() {
  brake_stby_accu = hydrau_press_red;
  const BrakeInputs in = read_brakes();
  if (!in.on_ground || hyd_park_auto == 1) {
    set_both(brake_stby_l, brake_stby_r, 0);
    return;
  }
  if (elec_bus_main == 0) return;
  if (in.park > 0.1) {
    set_both(brake_stby_l, brake_stby_r, hyd::brake_psi(in.park));
    return;
  }
  bool pedals;
  if (hydrau_press_red < 51)
    pedals = false;
  else if (parkb_lev_state == 0 || hydrau_press_red < 1401)
    pedals = hydrau_press_green < 1400 && hydrau_press_red > 1400;
  else
    pedals = true;
  brake_stby_l = pedals ? hyd::brake_psi(in.left) : u16{0};
  brake_stby_r = pedals ? hyd::brake_psi(in.right) : u16{0};
}

// Chain: 0 face, 1 night face, 2-3 left needle (day, night), 4-5 right needle, 6-7 accumulator.
template <GAUGEHDR& Gauge, int Index, u16& Left, u16& Right, u16& Accu> struct BrakeGauge {
  static constexpr ID art(int n) { return k7::bitmap_id(Index, n); }
  static ELEMENT_STATIC_IMAGE face;
  static ELEMENT_ICON face_night;
  static ELEMENT_NEEDLE left_day, left_night, right_day, right_night, accu_day, accu_night;
  static MOUSERECT mouse[3];

  static FLOAT64 FSAPI left(ELEMENT_NEEDLE*) { return Left; }
  static FLOAT64 FSAPI right(ELEMENT_NEEDLE*) { return Right; }
  static FLOAT64 FSAPI accu(ELEMENT_NEEDLE*) { return Accu; }

  static void draw() {
    k7::draw({&face.header, &face_night.header});
    k7::draw({&left_day.header, &left_night.header});
    k7::draw({&right_day.header, &right_night.header});
    k7::draw({&accu_day.header, &accu_night.header});
  }
};

#define K7_BRAKE_GAUGE_T template <GAUGEHDR& G, int I, u16& L, u16& R, u16& A>
#define K7_BRAKE_GAUGE   BrakeGauge<G, I, L, R, A>

K7_BRAKE_GAUGE_T ELEMENT_STATIC_IMAGE K7_BRAKE_GAUGE::face =
    k7::static_image(&G, art(0), {0, 0}, k7::ART_DAY, K7_NEXT(face_night));
K7_BRAKE_GAUGE_T ELEMENT_ICON K7_BRAKE_GAUGE::face_night =
    k7::icon(&G, art(1), {0, 0}, k7::ART_NIGHT | IMAGE_HIDDEN, K7_NEXT(left_day));
K7_BRAKE_GAUGE_T ELEMENT_NEEDLE K7_BRAKE_GAUGE::left_day =
    k7::needle(&G, art(2), BRAKES_PIVOT, NEEDLE_PIVOT, k7::NEEDLE_DAY, left, left_scale,
               NEEDLE_SPEED, K7_NEXT(left_night));
K7_BRAKE_GAUGE_T ELEMENT_NEEDLE K7_BRAKE_GAUGE::left_night =
    k7::needle(&G, art(3), BRAKES_PIVOT, NEEDLE_PIVOT, k7::NEEDLE_NIGHT | IMAGE_HIDDEN, left,
               left_scale, NEEDLE_SPEED, K7_NEXT(right_day));
K7_BRAKE_GAUGE_T ELEMENT_NEEDLE K7_BRAKE_GAUGE::right_day =
    k7::needle(&G, art(4), BRAKES_PIVOT, NEEDLE_PIVOT, k7::NEEDLE_DAY, right, right_scale,
               NEEDLE_SPEED, K7_NEXT(right_night));
K7_BRAKE_GAUGE_T ELEMENT_NEEDLE K7_BRAKE_GAUGE::right_night =
    k7::needle(&G, art(5), BRAKES_PIVOT, NEEDLE_PIVOT, k7::NEEDLE_NIGHT | IMAGE_HIDDEN, right,
               right_scale, NEEDLE_SPEED, K7_NEXT(accu_day));
K7_BRAKE_GAUGE_T ELEMENT_NEEDLE K7_BRAKE_GAUGE::accu_day =
    k7::needle(&G, art(6), ACCU_PIVOT, NEEDLE_PIVOT, k7::NEEDLE_DAY, accu, accu_scale, NEEDLE_SPEED,
               K7_NEXT(accu_night));
K7_BRAKE_GAUGE_T ELEMENT_NEEDLE K7_BRAKE_GAUGE::accu_night =
    k7::needle(&G, art(7), ACCU_PIVOT, NEEDLE_PIVOT, k7::NEEDLE_NIGHT | IMAGE_HIDDEN, accu,
               accu_scale, NEEDLE_SPEED, K7_END);
K7_BRAKE_GAUGE_T MOUSERECT K7_BRAKE_GAUGE::mouse[3] = {k7::mouse_parent(), K7_MOUSE_END};

#undef K7_BRAKE_GAUGE_T
#undef K7_BRAKE_GAUGE

using NormalBrakes = BrakeGauge<gauge_hydrau_brakes_norm, GAUGE_INDEX_hydrau_brakes_norm,
                                brake_norm_l, brake_norm_r, brake_norm_accu>;
using StandbyBrakes = BrakeGauge<gauge_hydrau_brakes_stby, GAUGE_INDEX_hydrau_brakes_stby,
                                 brake_stby_l, brake_stby_r, brake_stby_accu>;

void FSAPI normal_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  normal_brakes();
  NormalBrakes::draw();
}

void FSAPI standby_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  standby_brakes();
  StandbyBrakes::draw();
}

} // namespace

K7_GAUGE_HEADER(hydrau_brakes_norm, NormalBrakes::face, NormalBrakes::mouse, normal_callback);
K7_GAUGE_HEADER(hydrau_brakes_stby, StandbyBrakes::face, StandbyBrakes::mouse, standby_callback);
