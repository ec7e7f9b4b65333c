// The simulator's autopilot key events that the autopilot panel, its READY switch and the
// stand-in use.
#pragma once

#include "module/types.h"

#include <initializer_list>

enum ApEvent : u32 {
  AP_DISCONNECT = 0x100FF,
  AP_ENGAGE = 0x10100,
  AP_ALT_HOLD_ON = 0x100BE,
  AP_APPROACH_ON = 0x1010D,
  AP_HEADING_HOLD_ON = 0x1010F,
  AP_WING_LEVELER_ON = 0x10111,
  AP_NAV_HOLD_ON = 0x10113,
  AP_NAV_HOLD_OFF_2 = 0x10115,
  AP_APPROACH_OFF = 0x10116,
  AP_HEADING_HOLD_OFF = 0x10117,
  AP_WING_LEVELER_OFF = 0x10119,
  AP_NAV_HOLD_OFF = 0x1011B,
  AP_VS_REF = 0x101F4,
  AP_ALT_REF = 0x1024C,
  AP_HEADING_REF = 0x101FA,
  AP_AILERON_SET = 0x1009F,
  AP_RUDDER_SET = 0x100A0,
  AP_ELEVATOR_SET = 0x1009E,
  AP_ELEVATOR_STEP_DOWN = 0x10048,
  AP_ELEVATOR_STEP_UP = 0x10050,
  AP_AUTOTHROTTLE_OFF = 0x1022E,
};
