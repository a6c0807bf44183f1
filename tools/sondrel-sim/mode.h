#pragma once

#include <QCommandLineParser>

#include "endpoint.h"

// One kind of far end the simulator can play, chosen with --mode.
struct Mode {
    // Which way the mode's bytes go: a datagram endpoint sends to the given address for a mode
    // that sends, and takes what arrives at it for a mode that receives.
    enum class Flow { Sends, Receives };

    const char* name;
    const char* description;
    Flow flow;
    void (*addOptions)(QCommandLineParser& parser);
    // Runs until done or stopped; the result is the exit code.
    int (*run)(const QCommandLineParser& parser, Endpoint& endpoint);
};
