#include "input/sea_sun_encoder.h"

namespace sea_sun {

// Every calibration rises steadily over the whole count range, so the nearest count is found
// by bisection.
int rawCountFor(Channel channel, double value) {
    int low = 0;
    int high = kMaxRawCount;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (convert(channel, middle) < value) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    // `low` is the first count whose value is not below the target; the one before may be nearer.
    if (low > 0 && value - convert(channel, low - 1) <= convert(channel, low) - value) {
        return low - 1;
    }
    return low;
}

QByteArray encodeWord(Channel channel, int rawCount) {
    const int number = static_cast<int>(channel);
    QByteArray word(3, '\0');
    word[0] = static_cast<char>((rawCount & 0x7f) << 1);
    word[1] = static_cast<char>(((rawCount >> 7) & 0x7f) << 1);
    word[2] = static_cast<char>((number << 3) | (((rawCount >> 14) & 0x3) << 1));
    return word;
}

}  // namespace sea_sun
