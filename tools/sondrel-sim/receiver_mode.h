#pragma once

#include "mode.h"

// An echosounder taking sound-velocity telegrams: prints every line it receives with its
// arrival time, the time since the line before, the telegram format it matches (or
// MALFORMED) and its bytes in quotes, so that leading and trailing blanks show, with every
// control byte spelled out (<CR>, <LF>, <0x..>).
Mode receiverMode();
