// sondrel-calc: practical salinity and sound velocity for lines of readings, computed by the
// same code as the Sondrel Converter window.

#include <cerrno>
#include <cstdio>
#include <iostream>
#include <string_view>
#include <system_error>
#include <vector>

#include "platform/console.h"
#include "tools/sondrel-calc/convert_stream.h"

namespace {

constexpr std::string_view kHelp =
    R"(Usage: sondrel-calc [--salinity] [FILE]...

Computes practical salinity (PSS-78) and sound velocity (UNESCO 1983, Chen & Millero) with the
same code as Sondrel Converter. Reads the named files one after another, or standard input when
no file is named ("-" also names standard input).

Each input line holds three numbers separated by spaces or TABs, always with "." as the decimal
point whatever the locale:
    conductivity [mS/cm]  temperature [degC]  pressure [dbar]
Blank lines and lines starting with "#" are skipped. As in the window, conductivity is divided
by 10 (S/m) and pressure by 10 (bar) before the computation.

Each converted line is written to standard output, TAB-separated:
    conductivity  temperature  pressure  salinity  sound-velocity
every number as the shortest text that reads back to the same double. The sound velocity is not
rounded (the window shows it rounded to two decimals).

A value the window would not store is written as "-": the salinity when the conductivity ratio
is negative or the result is not a finite number; the sound velocity when there is no salinity,
the salinity is negative or the result is not a finite number.

Options:
  --salinity  the first input column is practical salinity instead of conductivity; the output
              is the three inputs and the sound velocity
  --help      show this text

A line that is not exactly three numbers is reported on standard error with its file name and
line number; the other lines are still converted. A file that cannot be read is reported and the
other files are still processed. Exit status: 0 when every line was converted, 1 when a line or
a file could not be, 2 for an unknown option.
)";

bool convertFile(const std::string& path, sondrel_calc::Columns columns) {
    const bool standardInput = path == "-";
    std::FILE* const file = standardInput ? stdin : std::fopen(path.c_str(), "rb");
    if (!file) {
        std::cerr << "sondrel-calc: cannot open " << path << ": "
                  << std::generic_category().message(errno) << '\n';
        return false;
    }
    const sondrel_calc::StreamEnds ends{
        [file](char* data, std::size_t size) {
            const std::size_t count = std::fread(data, 1, size, file);
            return count == 0 && std::ferror(file) ? std::ptrdiff_t{-1}
                                                   : static_cast<std::ptrdiff_t>(count);
        },
        [](std::string_view text) {
            std::cout.write(text.data(), static_cast<std::streamsize>(text.size()));
        },
        [](std::string_view text) {
            std::cerr.write(text.data(), static_cast<std::streamsize>(text.size()));
        }};
    const bool ok =
        sondrel_calc::convertStream(ends, standardInput ? "standard input" : path, columns);
    if (!standardInput) {
        std::fclose(file);
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    console::passBytesUnchanged();
    std::ios::sync_with_stdio(false);
    auto columns = sondrel_calc::Columns::Conductivity;
    std::vector<std::string> paths;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (optionsEnded || arg == "-" || !arg.starts_with('-')) {
            paths.emplace_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            std::cout << kHelp;
            return 0;
        } else if (arg == "--salinity") {
            columns = sondrel_calc::Columns::Salinity;
        } else {
            std::cerr << "sondrel-calc: unknown option " << arg << " (try --help)\n";
            return 2;
        }
    }
    if (paths.empty()) {
        paths.emplace_back("-");
    }

    bool ok = true;
    for (const std::string& path : paths) {
        ok = convertFile(path, columns) && ok;
    }
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "sondrel-calc: cannot write the output\n";
        return 1;
    }
    return ok ? 0 : 1;
}
