#pragma once
// One record kind under the fuzzer: parse any bytes, then build the result into buffers
// of every small size. Nothing may read past the text's NUL or write past a buffer, and a
// built text is one line of printable bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "records.h"

template <typename Record>
void FuzzRecord(const uint8_t *data, size_t size, bool (*parse)(const char *, Record &),
                int (*build)(const Record &, char *, uint16_t)) {
    std::string text(reinterpret_cast<const char *>(data), size); // adds the NUL
    Record record;
    if (!parse(text.c_str(), record))
        return;
    char buf[kRecordBufferSize];
    int full = build(record, buf, sizeof buf);
    if (full < 0 || full >= kRecordBufferSize || buf[full] != '\0')
        std::abort();
    // A CR or LF (or any control byte) taken into a name would end the record's line in a
    // saved project: names hold blanks instead.
    for (int i = 0; i < full; ++i)
        if (static_cast<unsigned char>(buf[i]) < 0x20)
            std::abort();
    for (uint16_t cut : {0, 1, 7, 64}) {
        // An exactly sized heap block: AddressSanitizer sees a single byte too many.
        char *small = cut ? static_cast<char *>(std::malloc(cut)) : nullptr;
        int n = build(record, small, cut);
        if (n < 0 || (cut && n >= cut) || (cut && std::memcmp(small, buf, static_cast<size_t>(n)) != 0))
            std::abort();
        std::free(small);
    }
    Record again;
    if (!parse(buf, again))
        std::abort(); // a built text always carries its keyword
}
