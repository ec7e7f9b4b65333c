// The autopilot computer behind "kestovil ap_k7": its frame, its lamps and the disengagement
// table that three callers share.
#pragma once

#include "module/types.h"

enum ApLamp : u8 { LAMP_ENGAGE, LAMP_HEADING, LAMP_NAV, LAMP_APPROACH, LAMP_ALT_A, LAMP_ALT_B };
constexpr int AP_LAMPS = 6;

// Lights or darkens one of the panel's six lamps (the panel draws them).
void ap_lamp(ApLamp lamp, bool lit);
bool ap_lamp_lit(ApLamp lamp);

// The computer's work of one frame, in order.
void ap_computer_update();

// Turns off every simulator autopilot mode that is on.
void ap_disengage();
