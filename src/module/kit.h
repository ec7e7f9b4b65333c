// Small pieces that many gauges share: switch clicks and push-button timers.
#pragma once

#include "module/panel_abi.h"
#include "module/types.h"
#include "sound/sound.h"

namespace k7 {

// The usual switch: a click on the position it already stands in does nothing; otherwise "CLICK"
// plays once and the switch moves. Returns whether it moved.
template <typename T, typename V> inline bool switch_to(T& position, V value) {
  if (position == static_cast<T>(value)) return false;
  sound_play(SND_CLICK);
  position = static_cast<T>(value);
  return true;
}

// The click handler of an area that moves a switch to one position, the usual way.
template <auto& Switch, auto Position> BOOL FSAPI switch_area(PPIXPOINT, FLAGS32) {
  switch_to(Switch, Position);
  return 0;
}

// Push-button timer (lamp tests, meter tests, relights): a click starts it at 10, each repeat of
// a held click adds 2 while it runs at 10 or below, and every update takes 1 off; the button acts
// while the timer is above 0.
inline void button_press(u8& timer) {
  if (timer == 0)
    timer = 10;
  else if (timer <= 10)
    timer = static_cast<u8>(timer + 2);
}
inline void button_update(u8& timer) {
  if (timer > 0) --timer;
}

} // namespace k7
