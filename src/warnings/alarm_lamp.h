// A warning lamp with an alarm: the lamp shows while its condition holds and its bus is powered,
// and the condition asks the master warning chime for one stroke. The chime accepts a request
// (1 -> 2) and notes the alarm as current; the lamp gives the alarm back once its condition has
// ended after acceptance. A condition that ends before acceptance leaves the request waiting.
#pragma once

#include "engines/engines.h"
#include "module/gauge.h"
#include "module/types.h"

namespace k7 {

// Request and current-alarm bookkeeping of one alarm request, for one update.
inline void alarm_request(bool condition, u8& request, u8 alarm) {
  if (condition) {
    if (request == 0) request = 1;
    return;
  }
  if (request == 2) {
    request = 0;
    if (warn_chime_id == alarm) warn_chime_id = 0;
  }
}

// The whole lamp for one update: request bookkeeping and the lamp image.
inline void alarm_lamp(ELEMENT_HEADER& lamp, bool condition, bool bus, u8& request, u8 alarm) {
  alarm_request(condition, request, alarm);
  show(lamp, condition && bus);
}

// One side of a warning that can be taken care of without its cause ending (a yellow pump taking
// over from a servo alarm, a level switch acknowledging a low level): 0 quiet, 1 warning, 2 taken
// care of. Returns whether the side is warning.
inline bool warning_side(u8& side, bool cause, bool taken_care_of) {
  if (!cause)
    side = 0;
  else if (side == 0)
    side = 1;
  else if (side == 1 && taken_care_of)
    side = 2;
  return side == 1;
}

} // namespace k7
