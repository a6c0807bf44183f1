#include "tools/sondrel-calc/convert_stream.h"

#include <istream>
#include <ostream>
#include <string>

namespace sondrel_calc {

bool convertStream(std::istream& in, std::string_view name, Columns columns, std::ostream& out,
                   std::ostream& errors) {
    bool ok = true;
    std::string line;
    for (long number = 1; std::getline(in, line); ++number) {
        const LineOutcome outcome = convertLine(line, columns);
        switch (outcome.kind) {
            case LineOutcome::Kind::Skipped:
                break;
            case LineOutcome::Kind::Converted:
                out << outcome.text << '\n';
                break;
            case LineOutcome::Kind::Malformed:
                errors << name << ':' << number << ": " << outcome.text << '\n';
                ok = false;
                break;
        }
    }
    if (in.bad()) {
        errors << name << ": read error\n";
        return false;
    }
    return ok;
}

}  // namespace sondrel_calc
