// Dumpers of the kinds laid out as a fixed run of words, with or without one
// counted name.
#pragma once

#include "driver/dump_state.h"

void dumpKind4(DumpState &state);
void dumpKind5(DumpState &state);
void dumpKind7(DumpState &state);
