// "kestovil elec_bus_bat_k7": the battery panel with its bus-bar mimic and the essential-bus feed
// switch, and the DC network behind it: battery current and charge, generators on line, generator
// loads, every DC bus flag, the DC voltmeter reading, and the one-time alignment of the
// simulator's own battery, alternator, avionics and generator switches.
#include "electrical/battery.h"
#include "module/daynight.h"
#include "electrical/electrical.h"
#include "engines/engines.h"
#include "module/gauge.h"
#include "module/kit.h"
#include "module/services.h"
#include "radios/radios.h"

namespace {

constexpr ID art(int n) {
  return k7::bitmap_id(GAUGE_INDEX_elec_bus_bat, n);
}

extern ELEMENT_ICON feed_1, feed_2;
extern ELEMENT_ICON bar_ess, bar_gen_main, bar_gen, bar_batt, bar_normal_1, bar_normal_2,
    bar_radio2, bar_radio1, bar_main_b, bar_main_a;

ELEMENT_STATIC_IMAGE background =
    k7::static_image(&gauge_elec_bus_bat, art(0), {0, 0}, k7::TRANSPARENT, K7_NEXT(feed_1));
// The feed switch, lever to the battery bus (1) or to the main bus (2).
ELEMENT_ICON feed_1 = k7::icon(&gauge_elec_bus_bat, art(1), {1, 38}, k7::ART_DAY, K7_NEXT(feed_2));
ELEMENT_ICON feed_2 =
    k7::icon(&gauge_elec_bus_bat, art(2), {1, 38}, k7::DAY_HIDDEN, K7_NEXT(bar_ess));
// Bus-bar segments of the mimic, lit while their bus is powered.
ELEMENT_ICON bar_ess =
    k7::icon(&gauge_elec_bus_bat, art(3), {110, 20}, k7::DAY_HIDDEN, K7_NEXT(bar_gen_main));
ELEMENT_ICON bar_gen_main =
    k7::icon(&gauge_elec_bus_bat, art(4), {200, 100}, k7::DAY_HIDDEN, K7_NEXT(bar_gen));
ELEMENT_ICON bar_gen =
    k7::icon(&gauge_elec_bus_bat, art(5), {300, 100}, k7::DAY_HIDDEN, K7_NEXT(bar_batt));
ELEMENT_ICON bar_batt =
    k7::icon(&gauge_elec_bus_bat, art(6), {110, 160}, k7::DAY_HIDDEN, K7_NEXT(bar_normal_1));
ELEMENT_ICON bar_normal_1 =
    k7::icon(&gauge_elec_bus_bat, art(7), {200, 160}, k7::DAY_HIDDEN, K7_NEXT(bar_normal_2));
ELEMENT_ICON bar_normal_2 =
    k7::icon(&gauge_elec_bus_bat, art(8), {250, 160}, k7::DAY_HIDDEN, K7_NEXT(bar_radio2));
ELEMENT_ICON bar_radio2 =
    k7::icon(&gauge_elec_bus_bat, art(9), {330, 200}, k7::DAY_HIDDEN, K7_NEXT(bar_radio1));
ELEMENT_ICON bar_radio1 =
    k7::icon(&gauge_elec_bus_bat, art(10), {330, 180}, k7::DAY_HIDDEN, K7_NEXT(bar_main_b));
ELEMENT_ICON bar_main_b =
    k7::icon(&gauge_elec_bus_bat, art(11), {200, 220}, k7::DAY_HIDDEN, K7_NEXT(bar_main_a));
ELEMENT_ICON bar_main_a =
    k7::icon(&gauge_elec_bus_bat, art(12), {150, 220}, k7::DAY_HIDDEN, K7_END);

ELEMENT_ICON* feed_images[] = {&feed_1, &feed_2};

BOOL FSAPI on_feed_battery(PPIXPOINT, FLAGS32) {
  k7::switch_to(elec_ess_feed_sw, 1);
  return 0;
}
BOOL FSAPI on_feed_main(PPIXPOINT, FLAGS32) {
  k7::switch_to(elec_ess_feed_sw, 2);
  return 0;
}

MOUSERECT mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({1, 38, 45, 50}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_feed_battery),
    k7::mouse_area({46, 38, 45, 50}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_feed_main),
    K7_MOUSE_END,
};

MODULE_VAR clock_var = sim::token(0x25C);
MODULE_VAR eng1_speed_var = sim::token(0x271);
MODULE_VAR eng2_speed_var = sim::token(0x284);
MODULE_VAR pp_elect_var = sim::token(0x117);
MODULE_VAR on_ground_var = sim::token(0x3C);
MODULE_VAR sim_battery_var = sim::token(0x16C);
MODULE_VAR sim_alternator_var = sim::token(0x16B);
MODULE_VAR sim_avionics_var = sim::token(0x2E4);
MODULE_VAR sim_gen1_var = sim::token(0x235);
MODULE_VAR sim_gen2_var = sim::token(0x23F);

u8 flag(bool b) {
  return b ? 1 : 0;
}

// Ground power feeds with the unit connected and the master in its ground position. Taken from
// the master as it stands now, not from the ground-power gauge's last update, so that moving the
// master between battery and ground power does not drop the buses for an update.
bool ground_feeding() {
  return elec_extpwr_connected != 0 && elec_master_sw == 1;
}

void update_battery(u32 now) {
  elec_batt_normal = flag(elec_batt_commut == 1 && elec_master_sw == 2);
  elec_batt_capacity =
      (elec_batt_normal != 0 || elec_batt_commut == 2) ? elec::BATT_FULL : elec::BATT_CAPACITY_OFF;
  elec_batt_connected = flag(elec_master_sw == 2);

  const elec::BatteryInputs in{
      elec_batt_connected != 0,
      elec_batt_commut,
      eng1_starter_on != 0 || eng2_starter_on != 0,
      ground_feeding(),
      elec_gen1_online != 0 || elec_gen2_online != 0, // as the previous update left them
      elec_tadg_on != 0,
  };
  elec_batt_current = elec::battery_current(in, elec_batt_capacity, elec_batt_charge);

  elec::BatteryState s{elec_batt_charge,       elec_batt_drain,   elec_batt_dischg_run,
                       elec_batt_dischg_clock, elec_batt_chg_run, elec_batt_chg_clock,
                       elec_batt_chg_noted};
  s = elec::battery_step(s, elec_batt_current, in.connected, elec_batt_capacity, now);
  elec_batt_charge = s.charge;
  elec_batt_drain = s.drain;
  elec_batt_dischg_run = s.discharging;
  elec_batt_dischg_clock = s.discharge_clock;
  elec_batt_chg_run = s.charging;
  elec_batt_chg_clock = s.charge_clock;
  elec_batt_chg_noted = s.charge_noted;

  elec_batt_amps_norm = elec_batt_current;
  if (elec_batt_normal != 0 || elec_batt_commut == 2) elec_batt_amps_stby = elec_batt_current;
}

void update_generators() {
  const bool tripped = sim::read_u32(pp_elect_var) == 1;
  const bool ground = ground_feeding();
  elec_gen1_online = flag(sim::read(eng1_speed_var) > 20.0 && !tripped && elec_gen1_fault == 0 &&
                          !ground && elec_gen1_sw == 1 && eng1_hp_cock_open != 0);
  elec_gen2_online = flag(sim::read(eng2_speed_var) > 20.0 && !tripped && elec_gen2_fault == 0 &&
                          !ground && elec_gen2_sw == 1 && eng2_hp_cock_open != 0);

  const bool both = elec_gen1_online != 0 && elec_gen2_online != 0;
  const u8 load = elec_tadg_on != 0 ? (both ? 25 : 45) : (both ? 13 : 26);
  elec_gen1_amps = elec_gen1_online != 0 ? load : 0;
  elec_gen2_amps = elec_gen2_online != 0 ? load : 0;
}

void update_buses() {
  const bool ground = ground_feeding();
  const bool generating = elec_gen1_online != 0 || elec_gen2_online != 0 || ground;
  if (!generating) {
    elec_bus_gen = 0;
    const bool battery = elec_batt_connected != 0 && elec_batt_charge > 0;
    elec_bus_batt = flag(battery);
    elec_bus_main = battery ? elec_batt_normal : 0;
  } else {
    elec_bus_gen = elec_bus_main = elec_bus_batt = 1;
  }
  elec_bus_gen_a = elec_bus_gen_b = elec_bus_gen_c = elec_bus_gen;
  if (elec_bus_gen != 0) {
    elec_bus_gen_twin = flag((elec_gen1_online != 0 && elec_gen2_online != 0) || ground);
    elec_bus_gen_air = flag(elec_bus_gen_twin != 0 && (sim::read(on_ground_var) == 0.0 || ground));
  } else {
    elec_bus_gen_twin = elec_bus_gen_air = 0;
  }

  // On the battery alone the load-shedding selector keeps exactly one radio bus.
  if (elec_bus_main == 0) {
    elec_bus_radio1 = elec_bus_radio2 = 0;
  } else {
    elec_bus_radio1 = flag(elec_bus_gen != 0 || radio_delest_sel == 1);
    elec_bus_radio2 = flag(elec_bus_gen != 0 || radio_delest_sel != 1);
  }
  elec_bus_main_a = elec_bus_main_b = elec_bus_main;

  elec_bus_ess = elec_ess_feed_sw == 1 ? elec_bus_batt : elec_bus_main;
  elec_bus_ess_hyd = elec_bus_ess;
  if (elec_bus_ess != 0) elec_bus_extinct = 1;
}

void update_dc_voltmeter() {
  const bool battery_normal = elec_batt_normal != 0 && elec_batt_charge > 0;
  const bool battery_any = elec_master_sw == 2 && elec_batt_charge > 0;
  bool live = false;
  u8 volts = 28;
  switch (elec_dcvolt_sel) {
  case 0: live = elec_bus_gen != 0; break;
  case 1: live = elec_gen1_online != 0; break;
  case 2: live = elec_gen2_online != 0; break;
  case 3:
  case 4:
    live = battery_normal;
    volts = 24;
    break;
  case 5:
    live = battery_any;
    volts = 24;
    break;
  default: break;
  }
  elec_dc_volts = (elec_dcvolt_test == 0 && live) ? volts : 0;
}

void draw_mimic() {
  k7::show_position(feed_images, elec_ess_feed_sw == 2 ? 1 : (elec_ess_feed_sw == 1 ? 0 : 2));
  k7::show(bar_ess, elec_bus_ess != 0);
  k7::show(bar_gen_main, elec_bus_gen != 0 && elec_bus_main != 0);
  k7::show(bar_gen, elec_bus_gen != 0);
  k7::show(bar_batt, elec_master_sw == 2 && elec_bus_batt != 0);
  k7::show(bar_normal_1, elec_batt_normal != 0 && elec_bus_main != 0);
  k7::show(bar_normal_2, elec_batt_normal != 0 && elec_bus_main != 0);
  k7::show(bar_radio2, elec_bus_radio2 != 0);
  k7::show(bar_radio1, elec_bus_radio1 != 0);
  k7::show(bar_main_b, elec_bus_main_b != 0);
  k7::show(bar_main_a, elec_bus_main_a != 0);
}

// Until the simulator's own switches have all been seen on once, turn on each one the network
// calls for; the simulator takes each key event as a toggle, so an event goes only while its
// switch reads off.
void align_simulator_switches() {
  if (elec_sim_aligned != 0) return;
  const double battery = sim::read(sim_battery_var);
  const double alternator = sim::read(sim_alternator_var);
  const double avionics = sim::read(sim_avionics_var);
  const double gen1 = sim::read(sim_gen1_var);
  const double gen2 = sim::read(sim_gen2_var);
  if (elec_batt_connected != 0 && battery == 0.0) sim::key_event(0x102C1);
  if (elec_tadg_on != 0 && avionics == 0.0) sim::key_event(0x102F5);
  if (elec_master_sw == 2 && alternator == 0.0) sim::key_event(0x102C2);
  if (elec_gen1_online != 0 && gen1 == 0.0) sim::key_event(0x1033B);
  if (elec_gen2_online != 0 && gen2 == 0.0) sim::key_event(0x1033C);
  if (battery == 1.0 && alternator == 1.0 && avionics == 1.0 && gen1 == 1.0 && gen2 == 1.0)
    elec_sim_aligned = 1;
}

void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  update_battery(k7::sat_cast<u32>(sim::read(clock_var)));
  update_generators();
  update_buses();
  update_dc_voltmeter();
  draw_mimic();
  align_simulator_switches();
}

} // namespace

K7_GAUGE_HEADER(elec_bus_bat, background, mouse, callback);
