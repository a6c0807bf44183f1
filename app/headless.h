#pragma once

// The program without a window, for a logging server or a PC that runs it as a service: a
// station started as the settings file says, every change of its state on standard error, ended
// by a signal with every logged line written. The exit status: 0 when ended so, 2 for a settings
// file it cannot use (nothing runs half-configured, and a service manager need not start it
// again until the file is mended), 1 for a log file that cannot be made ready, as on a disk not
// yet mounted, which is worth another start.
int runHeadless();
