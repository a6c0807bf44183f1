#include "input/bit_table.h"

BitTable buildBitTable() {
    BitTable table;
    for (int v = 0; v < 256; ++v) {
        QString s;
        int r = v;
        for (int k = 7; k >= 0; --k) {
            const int weight = 1 << k;
            if (r > weight - 1) {
                s += QLatin1Char('1');
                r -= weight;
            } else {
                s += QLatin1Char('0');
            }
        }
        table[static_cast<std::size_t>(v)] = s;
    }
    return table;
}

int bitOf(const BitTable& table, unsigned char value, int bit) {
    // Character k (from 1) of an entry is bit 8 - k.
    return table[value].at(7 - bit) == QLatin1Char('1') ? 1 : 0;
}
