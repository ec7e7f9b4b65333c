// The single warning lamps of the main panel ("kestovil warn_..._k7"): each gauge is one lamp
// image, its only element, shown while its condition holds and its bus is powered. Eleven of them
// ask the master warning chime for a stroke; the stall lamp sounds its own horn and the overspeed
// lamp shows the flag that also sounds the gear horn.
#include "electrical/electrical.h"
#include "engines/engines.h"
#include "environment/environment.h"
#include "hydraulics/hydraulics.h"
#include "module/gauge.h"
#include "module/services.h"
#include "sound/sound.h"
#include "warnings/alarm_lamp.h"
#include "warnings/warnings.h"

namespace {

// Alarm numbers of the master warning chime.
enum Alarm : u8 {
  ALARM_SERVO = 2,
  ALARM_ELEC = 3,
  ALARM_FUEL_TEMP = 4,
  ALARM_OIL_PRESS_L = 5,
  ALARM_OIL_PRESS_R = 6,
  ALARM_RED_BRAKE = 7,
  ALARM_ICE = 8,
  ALARM_HYD_LEVEL = 10,
  ALARM_FUEL_PRESS_L = 11,
  ALARM_FUEL_PRESS_R = 12,
  ALARM_CABIN_EXCESS = 13,
};

constexpr double OIL_PRESS_FACTOR = 1.1;
constexpr double OIL_PRESS_LOW = 3000.0;
constexpr u16 YELLOW_TAKES_OVER = 1901; // psi of a yellow pump that relieves its servo alarm
constexpr u16 STANDBY_BRAKE_HIGH = 201; // psi on a standby brake, with the red pump on
constexpr i16 FUEL_PRESS_LOW = 50;      // feed pressure
constexpr double FUEL_TEMP_MIN = 3.0;   // deg C; between the two is normal
constexpr double FUEL_TEMP_MAX = 53.0;
constexpr double OVERSPEED_KNOTS = 300.0;
constexpr double OVERSPEED_TOKEN_40 = 15600.0;

// A gauge that is one lamp image: element 0, hidden until its condition holds. Its bitmap is the
// first of the gauge's block of chosen ids.
template <GAUGEHDR& Gauge, int Index> struct LampGauge {
  static ELEMENT_STATIC_IMAGE lamp;
  static MOUSERECT mouse[3];
};
template <GAUGEHDR& Gauge, int Index>
ELEMENT_STATIC_IMAGE LampGauge<Gauge, Index>::lamp =
    k7::static_image(&Gauge, k7::bitmap_id(Index, 0), {0, 0},
                     IMAGE_USE_TRANSPARENCY | IMAGE_USE_LUMINOUS | IMAGE_HIDDEN, K7_END);
template <GAUGEHDR& Gauge, int Index>
MOUSERECT LampGauge<Gauge, Index>::mouse[3] = {k7::mouse_parent(), K7_MOUSE_END};

#define K7_LAMP(ident) LampGauge<gauge_##ident, GAUGE_INDEX_##ident>

template <void (*Update)()> void FSAPI on_message(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service == PANEL_SERVICE_PRE_UPDATE) Update();
}

bool on(u8 bus) {
  return bus != 0;
}

MODULE_VAR oil_press_l = sim::token(0x232);
MODULE_VAR oil_press_r = sim::token(0x23C);
MODULE_VAR stall_var = sim::token(0x43);
MODULE_VAR airspeed_var = sim::token(0x3D);
MODULE_VAR token_40_var = sim::token(0x40);

// ---- lamps with an alarm
// --------------------------------------------------------------------------

// Servo controls: each servo alarm warns until the yellow pump of its side gives 1901 psi.
void servo_update() {
  const bool side1 = k7::warning_side(warn_servo_side1, servo_alarm_1 != 0,
                                      hydrau_yellow1_press >= YELLOW_TAKES_OVER);
  const bool side2 = k7::warning_side(warn_servo_side2, servo_alarm_2 != 0,
                                      hydrau_yellow2_press >= YELLOW_TAKES_OVER);
  k7::alarm_lamp(K7_LAMP(warn_servo)::lamp.header, on(elec_bus_batt) && (side1 || side2),
                 on(elec_bus_batt), warn_req_servo, ALARM_SERVO);
}

void elec_update() {
  k7::alarm_lamp(K7_LAMP(warn_elec)::lamp.header, elec_warn_elec != 0, on(elec_bus_batt),
                 warn_req_elec, ALARM_ELEC);
}

bool fuel_temp_abnormal(double temperature) {
  return !(temperature >= FUEL_TEMP_MIN && temperature <= FUEL_TEMP_MAX);
}

// Fuel temperature: the lamp shows the left side; the right side only asks for the chime.
void fuel_temp_update() {
  const bool left = on(elec_bus_ess) && (fuel_temp_abnormal(fuel_temp_lh) ||
                                         fuel_temp_test_l1 != 0 || fuel_temp_test_l2 != 0);
  const bool right = on(elec_bus_ess) && (fuel_temp_abnormal(fuel_temp_rh) ||
                                          fuel_temp_test_r1 != 0 || fuel_temp_test_r2 != 0);
  k7::alarm_lamp(K7_LAMP(warn_lhfueltemp)::lamp.header, left, on(elec_bus_batt),
                 warn_req_fueltemp_l, ALARM_FUEL_TEMP);
  k7::alarm_request(right, warn_req_fueltemp_r, ALARM_FUEL_TEMP);
}

bool oil_press_low(MODULE_VAR& token) {
  return !(sim::read_finite(token) * OIL_PRESS_FACTOR >= OIL_PRESS_LOW);
}

void lhoilpress_update() {
  const bool low = on(elec_bus_batt) && eng1_hp_cock_open == 1 && oil_press_low(oil_press_l);
  k7::alarm_lamp(K7_LAMP(warn_lhoilpress)::lamp.header, low, on(elec_bus_batt), warn_req_oilpress_l,
                 ALARM_OIL_PRESS_L);
}

void rhoilpress_update() {
  const bool low = on(elec_bus_batt) && eng2_hp_cock_open == 1 && oil_press_low(oil_press_r);
  k7::alarm_lamp(K7_LAMP(warn_rhoilpress)::lamp.header, low, on(elec_bus_batt), warn_req_oilpress_r,
                 ALARM_OIL_PRESS_R);
}

// Red brake: the standby pump is on while a standby brake holds pressure.
void redbrake_update() {
  const bool braking = on(elec_bus_main) && hydrau_red_sw != 0 &&
                       (brake_stby_l >= STANDBY_BRAKE_HIGH || brake_stby_r >= STANDBY_BRAKE_HIGH);
  k7::alarm_lamp(K7_LAMP(warn_redbrake)::lamp.header, braking, on(elec_bus_main), warn_req_redbrake,
                 ALARM_RED_BRAKE);
}

void ice_update() {
  k7::alarm_lamp(K7_LAMP(warn_ice)::lamp.header, deice_ice_warn != 0, on(elec_bus_gen_a),
                 warn_req_ice, ALARM_ICE);
}

// Hydraulic level: each low level warns until its level switch is put on.
void hydlvl_update() {
  const bool green =
      k7::warning_side(warn_hydlvl_green, hydrau_low_level_green != 0, hydrau_level_sw_green == 1);
  const bool blue =
      k7::warning_side(warn_hydlvl_blue, hydrau_low_level_blue != 0, hydrau_level_sw_blue == 1);
  k7::alarm_lamp(K7_LAMP(warn_hydlvl)::lamp.header, on(elec_bus_batt) && (green || blue),
                 on(elec_bus_batt), warn_req_hydlvl, ALARM_HYD_LEVEL);
}

void lhfuelpress_update() {
  const bool low = on(elec_bus_ess) && eng1_hp_cock_open == 1 && fuel_press_lh < FUEL_PRESS_LOW;
  k7::alarm_lamp(K7_LAMP(warn_lhfuelpress)::lamp.header, low, on(elec_bus_ess),
                 warn_req_fuelpress_l, ALARM_FUEL_PRESS_L);
}

void rhfuelpress_update() {
  const bool low = on(elec_bus_ess) && eng2_hp_cock_open == 1 && fuel_press_rh < FUEL_PRESS_LOW;
  k7::alarm_lamp(K7_LAMP(warn_rhfuelpress)::lamp.header, low, on(elec_bus_ess),
                 warn_req_fuelpress_r, ALARM_FUEL_PRESS_R);
}

// Cabin excess altitude: the pressurisation raises and lowers the request itself; the lamp gives
// the alarm back whenever the excess is gone, whoever cleared the request first.
void cabinexcalt_update() {
  const bool excess = pressu_cabin_excess != 0;
  k7::alarm_lamp(K7_LAMP(warn_cabinexcalt)::lamp.header, excess, on(elec_bus_ess), warn_req_cabinxs,
                 ALARM_CABIN_EXCESS);
  if (!excess && warn_chime_id == ALARM_CABIN_EXCESS) warn_chime_id = 0;
}

// ---- lamps without an alarm
// -----------------------------------------------------------------------

void stall_update() {
  const bool stall = sim::read(stall_var) == 1.0 && on(elec_bus_gen_a);
  if (stall && warn_stall_horn == 0) sound_play(SND_KLAXONCONT, true);
  if (!stall && warn_stall_horn != 0) sound_stop(SND_KLAXONCONT);
  warn_stall_horn = stall;
  k7::show(K7_LAMP(warn_stall)::lamp, stall);
}

void vno_update() {
  warn_overspeed = on(elec_bus_ess) && (sim::read_finite(airspeed_var) >= OVERSPEED_KNOTS ||
                                        sim::read_finite(token_40_var) >= OVERSPEED_TOKEN_40);
  k7::show(K7_LAMP(warn_vno)::lamp, warn_overspeed != 0);
}

} // namespace

#define K7_LAMP_GAUGE(ident, update)                                                               \
  K7_GAUGE_HEADER(ident, K7_LAMP(ident)::lamp, K7_LAMP(ident)::mouse, on_message<update>)

K7_LAMP_GAUGE(warn_servo, servo_update);
K7_LAMP_GAUGE(warn_elec, elec_update);
K7_LAMP_GAUGE(warn_lhfueltemp, fuel_temp_update);
K7_LAMP_GAUGE(warn_lhoilpress, lhoilpress_update);
K7_LAMP_GAUGE(warn_rhoilpress, rhoilpress_update);
K7_LAMP_GAUGE(warn_redbrake, redbrake_update);
K7_LAMP_GAUGE(warn_ice, ice_update);
K7_LAMP_GAUGE(warn_hydlvl, hydlvl_update);
K7_LAMP_GAUGE(warn_lhfuelpress, lhfuelpress_update);
K7_LAMP_GAUGE(warn_rhfuelpress, rhfuelpress_update);
K7_LAMP_GAUGE(warn_cabinexcalt, cabinexcalt_update);
K7_LAMP_GAUGE(warn_stall, stall_update);
K7_LAMP_GAUGE(warn_vno, vno_update);
