#include "record_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzRecord(data, size, ParseSettingRecord, BuildSettingRecord);
    return 0;
}
