// Dumpers of the kinds whose body is a counted list, one line per member.
#pragma once

#include "driver/dump_state.h"

void dumpKind6(DumpState &state);
void dumpKind11(DumpState &state);
