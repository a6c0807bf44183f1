#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

#include "platform/console.h"

namespace console {
namespace {

// A handle that whoever started the program gave it: a file, a pipe or a console.
bool isGiven(DWORD stream) {
    const HANDLE handle = GetStdHandle(stream);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

}  // namespace

void attachToParent() {
    const bool output = isGiven(STD_OUTPUT_HANDLE);
    const bool error = isGiven(STD_ERROR_HANDLE);
    if ((output && error) || !AttachConsole(ATTACH_PARENT_PROCESS)) {
        return;
    }
    if (!output) {
        static_cast<void>(std::freopen("CONOUT$", "w", stdout));
    }
    if (!error) {
        static_cast<void>(std::freopen("CONOUT$", "w", stderr));
    }
}

void passBytesUnchanged() {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

}  // namespace console
