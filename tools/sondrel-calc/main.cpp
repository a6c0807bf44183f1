// sondrel-calc: practical salinity and sound velocity for lines of readings, computed by the
// same code as the Sondrel Converter window.

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string_view>
#include <system_error>
#include <vector>

#include "input/record_layouts.h"
#include "platform/console.h"
#include "platform/decimal_text.h"
#include "platform/settings_store.h"
#include "tools/sondrel-calc/convert_stream.h"
#include "tools/sondrel-calc/record_converter.h"

namespace {

constexpr std::string_view kHelp =
    R"(Usage: sondrel-calc [--salinity] [FILE]...
       sondrel-calc --records NAME [--pressure DBAR] [--settings FILE] [FILE]...

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

With --records NAME the input is a file an ASCII instrument's records were recorded to, and
each record is cut and read as the window reads that instrument, NAME being one of the window's
record layouts: "Kestrane", "SV probe", "Valeport miniCTD", "Valeport miniSVP", "SBE 45" or
"Custom", which is section [Record] of the settings. The output has the columns above, the
record's values written in those units to 15 significant digits (which give back the digits
the instrument sent). Salinity and sound velocity are computed when the record holds a
conductivity and a temperature; otherwise the conductivity and the salinity are "-" and the
sound velocity is the one the instrument measured. A temperature the record does not hold is
"-"; a pressure it does not hold is that of --pressure. Lines that hold no record (empty, or
not beginning with the layout's prefix) are skipped. Kestrane records end in CR LF; the others
in CR, LF or CR LF.

Options:
  --salinity       the first input column is practical salinity instead of conductivity; the
                   output is the three inputs and the sound velocity
  --records NAME   read recorded instrument records of that layout
  --pressure DBAR  with --records, the pressure of records that hold none (default 0)
  --settings FILE  with --records Custom, read [Record] from this INI file instead of the
                   per-user settings
  --help           show this text

A line that is not exactly three numbers, or with --records a record that does not hold every
field of its layout, is reported on standard error with its file name and line number; the other
lines are still converted. A file that cannot be read is reported and the other files are still
processed. Exit status: 0 when every line was converted, 1 when a line or a file could not be,
2 for an unknown option, a bad option value or a [Record] section that cannot be used.
)";

using ConvertFile = std::function<bool(const sondrel_calc::StreamEnds&, std::string_view name)>;

bool convertFile(const std::string& path, const ConvertFile& convert) {
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
    const bool ok = convert(ends, standardInput ? "standard input" : path);
    if (!standardInput) {
        std::fclose(file);
    }
    return ok;
}

// The layout --records names; or, having said why there is none, nullopt.
std::optional<RecordLayout> chosenLayout(const std::string& name, const std::string& settings) {
    const RecordPreset* preset = record_layouts::presets().named(QString::fromStdString(name));
    if (!preset) {
        std::cerr << "sondrel-calc: unknown record layout \"" << name
                  << "\"; layouts: " << record_layouts::presets().choices().toStdString() << '\n';
        return std::nullopt;
    }
    if (preset->layout) {
        return preset->layout;
    }
    if (!settings.empty()) {
        settings_store::useFile(QString::fromStdString(settings));
    }
    const record_layouts::ReadLayout read =
        record_layouts::readSection(settings_store::recordValue);
    for (const QString& problem : read.problems) {
        std::cerr << "sondrel-calc: " << problem.toStdString() << '\n';
    }
    return read.layout;
}

// The value after option `i`, which moves past it; nullopt at the end of the arguments.
std::optional<std::string> optionValue(int argc, char** argv, int& i) {
    if (i + 1 == argc) {
        std::cerr << "sondrel-calc: " << argv[i] << " needs a value (try --help)\n";
        return std::nullopt;
    }
    return argv[++i];
}

}  // namespace

int main(int argc, char** argv) {
    console::passBytesUnchanged();
    std::ios::sync_with_stdio(false);
    auto columns = sondrel_calc::Columns::Conductivity;
    std::optional<std::string> records;
    std::optional<std::string> pressure;
    std::optional<std::string> settings;
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
        } else if (arg == "--records" || arg == "--pressure" || arg == "--settings") {
            auto& value = arg == "--records" ? records : arg == "--pressure" ? pressure : settings;
            if (!(value = optionValue(argc, argv, i))) {
                return 2;
            }
        } else {
            std::cerr << "sondrel-calc: unknown option " << arg << " (try --help)\n";
            return 2;
        }
    }
    if (paths.empty()) {
        paths.emplace_back("-");
    }
    if (!records && (pressure || settings)) {
        std::cerr << "sondrel-calc: --pressure and --settings go with --records\n";
        return 2;
    }
    if (records && columns == sondrel_calc::Columns::Salinity) {
        std::cerr << "sondrel-calc: --salinity and --records do not go together\n";
        return 2;
    }

    ConvertFile convert = [columns](const sondrel_calc::StreamEnds& ends, std::string_view name) {
        return sondrel_calc::convertStream(ends, name, columns);
    };
    if (records) {
        const std::optional<double> decibars = decimal_text::read(pressure.value_or("0"));
        if (!decibars || !std::isfinite(*decibars)) {
            std::cerr << "sondrel-calc: --pressure needs a number of decibars\n";
            return 2;
        }
        const std::optional<RecordLayout> layout = chosenLayout(*records, settings.value_or(""));
        if (!layout) {
            return 2;
        }
        convert = [layout = *layout, decibars = *decibars](const sondrel_calc::StreamEnds& ends,
                                                           std::string_view name) {
            sondrel_calc::RecordConverter converter(layout, decibars);
            return sondrel_calc::convertStream(
                ends, name, [&converter](std::string_view line, std::string& text) {
                    return converter.convert(line, text);
                });
        };
    }
    bool ok = true;
    for (const std::string& path : paths) {
        ok = convertFile(path, convert) && ok;
    }
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "sondrel-calc: cannot write the output\n";
        return 1;
    }
    return ok ? 0 : 1;
}
