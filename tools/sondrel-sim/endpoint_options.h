#pragma once

#include <QCommandLineParser>
#include <functional>
#include <memory>
#include <optional>

#include "endpoint.h"
#include "mode.h"

// The options that say where the simulator meets the program under test: a new pseudo-terminal,
// unless one of them names a serial device or a network port.
namespace endpoint_options {

void add(QCommandLineParser& parser);

// Opens the endpoint; nullptr, with the reason on standard error, when it cannot be had.
using Opener = std::function<std::unique_ptr<Endpoint>()>;

// How to open the endpoint the options ask for; nullopt, with the reason on standard error, when
// they contradict one another or a value is malformed.
std::optional<Opener> choose(const QCommandLineParser& parser, Mode::Flow flow);

}  // namespace endpoint_options
