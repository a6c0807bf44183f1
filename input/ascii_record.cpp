#include "input/ascii_record.h"

#include <array>
#include <cmath>
#include <string_view>

#include "platform/decimal_text.h"

namespace {

// Blanks as Qt trims Latin-1 text, which is how the instrument's bytes have always been read:
// TAB to CR, space, NEL and the no-break space.
bool isBlank(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= '\t' && byte <= '\r') || byte == ' ' || byte == 0x85 || byte == 0xA0;
}

bool separatesBlanks(char c) {
    return c == ' ' || c == '\t';
}

// A decimal number with "." as the point, an optional sign and exponent, blanks around it.
// Infinities, NaN and what overflows or underflows are refused.
std::optional<double> number(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    // decimal_text::read takes a "-" but not a "+".
    if (text.starts_with('+')) {
        text.remove_prefix(1);
        if (text.starts_with('-')) {
            return std::nullopt;
        }
    }
    const std::optional<double> value = decimal_text::read(text);
    if (!value || !std::isfinite(*value)) {
        return std::nullopt;
    }
    return value;
}

char separatorOf(RecordLayout::Separator separator) {
    switch (separator) {
        case RecordLayout::Separator::Comma:
            return ',';
        case RecordLayout::Separator::Semicolon:
            return ';';
        case RecordLayout::Separator::Tab:
        case RecordLayout::Separator::Blanks:
            break;
    }
    return '\t';
}

// The fields of a record, one after the other, up to the last one a layout reads.
class Fields {
public:
    Fields(std::string_view line, RecordLayout::Separator separator)
        : rest_(line),
          blanks_(separator == RecordLayout::Separator::Blanks),
          separator_(separatorOf(separator)) {
        if (blanks_) {
            skipBlanks();
        }
    }

    // nullopt once the line has no more fields.
    std::optional<std::string_view> next() {
        if (done_) {
            return std::nullopt;
        }
        if (blanks_) {
            return nextBetweenBlanks();
        }
        const std::size_t end = rest_.find(separator_);
        const std::string_view field = rest_.substr(0, end);
        done_ = end == std::string_view::npos;
        rest_.remove_prefix(done_ ? rest_.size() : end + 1);
        return field;
    }

private:
    std::optional<std::string_view> nextBetweenBlanks() {
        std::size_t end = 0;
        while (end < rest_.size() && !separatesBlanks(rest_[end])) {
            ++end;
        }
        const std::string_view field = rest_.substr(0, end);
        rest_.remove_prefix(end);
        skipBlanks();
        done_ = rest_.empty();
        return field.empty() && done_ ? std::nullopt : std::optional(field);
    }

    void skipBlanks() {
        while (!rest_.empty() && separatesBlanks(rest_.front())) {
            rest_.remove_prefix(1);
        }
    }

    std::string_view rest_;
    bool blanks_;
    char separator_;
    bool done_ = false;
};

}  // namespace

bool isRecordLine(const RecordLayout& layout, QByteArrayView line) {
    return line.startsWith(layout.prefix);
}

AsciiReading readAsciiRecord(const RecordLayout& layout, QByteArrayView record) {
    const Quantities gives = layout.gives();
    const std::array<std::pair<const RecordField*, std::optional<double> AsciiReading::*>, 4>
        wanted{{{gives.pressure ? &layout.pressure : nullptr, &AsciiReading::pressure},
                {gives.conductivity ? &layout.conductivity : nullptr, &AsciiReading::conductivity},
                {gives.temperature ? &layout.temperature : nullptr, &AsciiReading::temperature},
                {gives.soundVelocity ? &layout.soundVelocity : nullptr,
                 &AsciiReading::soundVelocity}}};
    int last = 0;
    for (const auto& [field, value] : wanted) {
        last = field ? std::max(last, field->number) : last;
    }
    // One pass over the line: each field is kept only if a quantity stands in it.
    std::array<std::string_view, 4> texts{};
    std::array<bool, 4> found{};
    Fields fields(std::string_view(record.data(), static_cast<std::size_t>(record.size())),
                  layout.separator);
    for (int number = 1; number <= last; ++number) {
        const std::optional<std::string_view> text = fields.next();
        if (!text) {
            break;
        }
        for (std::size_t i = 0; i < wanted.size(); ++i) {
            if (wanted[i].first && wanted[i].first->number == number) {
                texts[i] = *text;
                found[i] = true;
            }
        }
    }
    AsciiReading reading;
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        const auto& [field, value] = wanted[i];
        if (!field) {
            continue;
        }
        const std::optional<double> read = found[i] ? number(texts[i]) : std::nullopt;
        if (!read) {
            return reading;
        }
        reading.*value = *read / field->divisor;
    }
    reading.complete = true;
    return reading;
}
