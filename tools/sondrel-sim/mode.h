#pragma once

#include <QCommandLineParser>

#include "endpoint.h"

// One kind of far end the simulator can play, chosen with --mode.
struct Mode {
    const char* name;
    const char* description;
    void (*addOptions)(QCommandLineParser& parser);
    // Runs until done or stopped; the result is the exit code.
    int (*run)(const QCommandLineParser& parser, Endpoint& endpoint);
};
