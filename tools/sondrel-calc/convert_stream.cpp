#include "tools/sondrel-calc/convert_stream.h"

#include <array>
#include <charconv>
#include <cstring>
#include <string>
#include <vector>

namespace sondrel_calc {

namespace {

constexpr std::size_t kBlock = 1 << 18;

template <typename ConvertLine>
class Converter {
public:
    Converter(const StreamEnds& ends, std::string_view name, ConvertLine convertLine)
        : ends_(ends), name_(name), convertLine_(convertLine) {
        output_.reserve(kBlock + kBlock / 2);
    }

    void convert(std::string_view line) {
        ++number_;
        const std::size_t mark = output_.size();
        switch (convertLine_(line, output_)) {
            case LineKind::Skipped:
                break;
            case LineKind::Converted:
                output_ += '\n';
                if (output_.size() >= kBlock) {
                    flush();
                }
                break;
            case LineKind::Malformed:
                report(std::string_view(output_).substr(mark));
                output_.resize(mark);
                ok_ = false;
                break;
        }
    }

    void report(std::string_view reason) {
        std::array<char, 24> digits;
        char* const end = std::to_chars(digits.begin(), digits.end(), number_).ptr;
        std::string text(name_);
        text.append(":").append(digits.data(), end).append(": ").append(reason) += '\n';
        ends_.report(text);
    }

    void readError() {
        ends_.report(std::string(name_) + ": read error\n");
        ok_ = false;
    }

    void flush() {
        if (!output_.empty()) {
            ends_.write(output_);
            output_.clear();
        }
    }

    bool ok() const { return ok_; }

private:
    const StreamEnds& ends_;
    std::string_view name_;
    ConvertLine convertLine_;
    std::string output_;
    long number_ = 0;
    bool ok_ = true;
};

template <typename ConvertLine>
bool convertLines(const StreamEnds& ends, std::string_view name, ConvertLine convertLine) {
    Converter converter(ends, name, convertLine);
    // Lines are converted where they lie in the buffer; a line cut by the end of a block is
    // moved to the front before the next read, and the buffer grows for a line longer than it.
    std::vector<char> buffer(kBlock);
    std::size_t kept = 0;
    while (true) {
        if (kept == buffer.size()) {
            buffer.resize(buffer.size() * 2);
        }
        const std::ptrdiff_t count = ends.read(buffer.data() + kept, buffer.size() - kept);
        if (count < 0) {
            converter.readError();
            converter.flush();
            return false;
        }
        if (count == 0) {
            break;
        }
        const char* line = buffer.data();
        const char* const end = buffer.data() + kept + static_cast<std::size_t>(count);
        const char* scanFrom = buffer.data() + kept;
        while (const char* const lineEnd = static_cast<const char*>(
                   std::memchr(scanFrom, '\n', static_cast<std::size_t>(end - scanFrom)))) {
            converter.convert(std::string_view(line, static_cast<std::size_t>(lineEnd - line)));
            line = lineEnd + 1;
            scanFrom = line;
        }
        kept = static_cast<std::size_t>(end - line);
        std::memmove(buffer.data(), line, kept);
    }
    // The last line may have no line end.
    if (kept > 0) {
        converter.convert(std::string_view(buffer.data(), kept));
    }
    converter.flush();
    return converter.ok();
}

}  // namespace

bool convertStream(const StreamEnds& ends, std::string_view name, Columns columns) {
    return convertLines(ends, name, [columns](std::string_view line, std::string& text) {
        return convertLine(line, columns, text);
    });
}

bool convertStream(const StreamEnds& ends, std::string_view name, const LineConverter& convert) {
    return convertLines(ends, name, std::cref(convert));
}

}  // namespace sondrel_calc
