// The failures panel's presets: whole-aircraft settings applied from its update.
#pragma once

// Applies the presets that are on, and switches off those that have done their work or that an
// active failure item overrides. Called once per update of the failures panel.
void failure_presets_update();
