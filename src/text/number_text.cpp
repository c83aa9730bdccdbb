#include "text/number_text.h"

// The tables are defined here alone, so that every object of the program,
// optimised across files or not, uses the same ones.

namespace {

constexpr HexPairTable makeHexPairTable(const char *digits) {
    HexPairTable table{};
    for (int b = 0; b < 256; ++b) {
        table.pairs[b][0] = digits[b >> 4];
        table.pairs[b][1] = digits[b & 0xF];
    }
    return table;
}

constexpr DecimalPairTable makeDecimalPairTable() {
    DecimalPairTable table{};
    for (int n = 0; n < 100; ++n) {
        table.pairs[n][0] = static_cast<char>('0' + n / 10);
        table.pairs[n][1] = static_cast<char>('0' + n % 10);
    }
    return table;
}

constexpr SmallDecimalTable makeSmallDecimalTable() {
    SmallDecimalTable table{};
    for (int n = 0; n < 1000; ++n) {
        char *entry = table.entries[n];
        int size = 0;
        if (n >= 100) {
            entry[size++] = static_cast<char>('0' + n / 100);
        }
        if (n >= 10) {
            entry[size++] = static_cast<char>('0' + n / 10 % 10);
        }
        entry[size++] = static_cast<char>('0' + n % 10);
        entry[3] = static_cast<char>(size);
    }
    return table;
}

} // namespace

constexpr HexPairTable kHexPairs = makeHexPairTable(kHexDigits);
constexpr HexPairTable kHexPairsUpper = makeHexPairTable(kHexDigitsUpper);
constexpr DecimalPairTable kDecimalPairs = makeDecimalPairTable();
constexpr SmallDecimalTable kSmallDecimals = makeSmallDecimalTable();
