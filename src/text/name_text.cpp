#include "text/name_text.h"

namespace {

constexpr CountTextTable makeCountTextTable() {
    CountTextTable table{};
    for (int n = 0; n < 256; ++n) {
        CountText &entry = table.counts[n];
        unsigned char i = 0;
        entry.text[i++] = '[';
        if (n >= 100) {
            entry.text[i++] = static_cast<char>('0' + n / 100);
        }
        entry.text[i++] = n >= 10 ? static_cast<char>('0' + n / 10 % 10) : ' ';
        entry.text[i++] = static_cast<char>('0' + n % 10);
        entry.text[i++] = ']';
        entry.text[i++] = '"';
        entry.size = i;
    }
    return table;
}

} // namespace

constexpr CountTextTable kCountTexts = makeCountTextTable();
