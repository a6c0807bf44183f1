#pragma once

#include "mode.h"

// An ASCII instrument other than the Kestrane, chosen by the name of the record layout the
// program reads it with: one line per measurement at each interval.
Mode asciiMode();
