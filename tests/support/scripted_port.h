#pragma once

#include "support/fake_port.h"

// The fake port under the name of the tests that script its failures.
using ScriptedPort = FakePort;
