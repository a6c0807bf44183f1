#pragma once

#include <QString>

// The first line of every log file, without its line end: six TAB-separated column names.
QString logHeader();
