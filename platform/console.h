#pragma once

// The standard streams of the command-line side of the programs, the same on every system.
// Nothing here needs Qt, so that the companion programs that do without it can use it too.
namespace console {

// Called first thing by a program that is built without a console of its own (a Windows GUI
// program), so that its help, its version and what it writes to standard error are seen in the
// command prompt it was started from. Streams redirected by whoever started it stay as they are.
// Every other program already has its streams: nothing to do.
void attachToParent();

// The three standard streams pass every byte unchanged, as on Linux: Windows' text mode would turn
// CR LF into LF on the way in, end the input at the first Ctrl+Z and turn LF into CR LF on the way
// out.
void passBytesUnchanged();

}  // namespace console
