// Sound: the state this subsystem owns.
#pragma once

#include "module/state.h"
#include "sound/sound.h"

// X(type, name, load value, lowest, highest, meaning) for variables;
// A(type, name, count, lowest, highest, meaning) for tables (every entry within lowest..highest).
#define K7_SOUND_STATE(X, A)                                                                       \
  A(i16, sound_volume, SND_COUNT, -4100, 700,                                                      \
    "volume of each sound in loading order, hundredths of a decibel (0 full, -10000 silent)")      \
  X(i8, sound_volume_steps, 0, -15, 15,                                                            \
    "volume knob position: steps louder (+) or quieter (-), -15..15")

K7_STATE_DECLARE(K7_SOUND_STATE)
