// The two fuel feed sides, left (engine 1) and right (engine 2): each side's variables gathered so
// that the pump, pressure and valve logic is written once and run for either side.
#pragma once

#include "electrical/electrical.h"
#include "engines/engines.h"
#include "module/panel_abi.h"

struct FuelSide {
  u8& pump1_sw;
  u8& pump2_sw;
  u8& pump3_sw;
  u8& pump4_sw;
  u8& pump1_on;
  u8& pump2_on;
  u8& pump3_on;
  u8& pump4_on;
  u8& lowpress;
  i16& press;
  i16& press_ind;
  u8& draw;
  u8& valve_a;
  u8& valve_b;
  f64& qty_main;
  u8& hp_cock;      // the HP cock of this side's engine
  u8& selector;     // this side's engine's simulator fuel selector, as read this update
  u32 n2_token;     // this side's engine's N2
  u32 valve_token;  // this side's engine's fuel valve in the simulator
  u32 valve_toggle; // key event toggling it

  bool any_pump() const { return pump1_on || pump2_on || pump3_on || pump4_on; }
};

inline constexpr FuelSide fuel_lh{fuel_pump_lh1_sw,
                                  fuel_pump_lh2_sw,
                                  fuel_pump_lh3_sw,
                                  fuel_pump_lh4_sw,
                                  fuel_pump_lh1_on,
                                  fuel_pump_lh2_on,
                                  fuel_pump_lh3_on,
                                  fuel_pump_lh4_on,
                                  fuel_lowpress_lh,
                                  fuel_press_lh,
                                  fuel_press_lh_ind,
                                  fuel_draw_lh,
                                  fuel_valve_lh_a,
                                  fuel_valve_lh_b,
                                  fuel_qty_main_lh,
                                  eng1_hp_cock_open,
                                  fuel_sel_eng1,
                                  0x271,
                                  0x37F,
                                  0x103BE};

inline constexpr FuelSide fuel_rh{fuel_pump_rh1_sw,
                                  fuel_pump_rh2_sw,
                                  fuel_pump_rh3_sw,
                                  fuel_pump_rh4_sw,
                                  fuel_pump_rh1_on,
                                  fuel_pump_rh2_on,
                                  fuel_pump_rh3_on,
                                  fuel_pump_rh4_on,
                                  fuel_lowpress_rh,
                                  fuel_press_rh,
                                  fuel_press_rh_ind,
                                  fuel_draw_rh,
                                  fuel_valve_rh_a,
                                  fuel_valve_rh_b,
                                  fuel_qty_main_rh,
                                  eng2_hp_cock_open,
                                  fuel_sel_eng2,
                                  0x284,
                                  0x380,
                                  0x103BF};

// Feed pressure below which a side cannot feed its engine by its pumps.
constexpr i16 FUEL_FEED_MIN_PRESSURE = 50;
