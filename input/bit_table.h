#pragma once

#include <QString>
#include <array>

// 256 texts of eight "1"/"0" characters: entry v is v in base two, most significant bit first.
// The Sea & Sun decoder reads every bit it uses through this table.
using BitTable = std::array<QString, 256>;

BitTable buildBitTable();

// The bit of `value` at `bit` (7 = most significant), read through the table.
int bitOf(const BitTable& table, unsigned char value, int bit);
