#include "sound/sound_state.h"

K7_STATE_DEFINE(sound, K7_SOUND_STATE)
