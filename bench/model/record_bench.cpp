// Records per second for Build and Parse of each kind, with realistic non-default values.
#include <benchmark/benchmark.h>

#include <cstring>

#include "records.h"

namespace {
PdSettings SampleSetting() {
    PdSettings r;
    InitSettingRecord(r);
    r.ubs = 12.7f;
    std::strcpy(r.nam, "Объект №1, корпус А");
    return r;
}
BcUnit SampleDevice() {
    BcUnit r;
    InitDeviceRecord(r);
    r.adr = 241;
    r.ube = 13.7f;
    r.ubw = 14.2f;
    std::strcpy(r.nam, "Корпус 2 этаж 3");
    return r;
}
AlLine SampleZone() {
    AlLine r;
    InitZoneRecord(r);
    r.num = 12345;
    r.adr = 241;
    r.prt = 16;
    r.uvp = 11.3f;
    r.ukn = 6.4f;
    r.tuv = 12.1f;
    r.tuk = 7.9f;
    r.usp = 3.3f;
    std::strcpy(r.nam, "Зал ожидания");
    return r;
}
NotifyScenario SampleNotify() {
    NotifyScenario r;
    InitNotifyRecord(r);
    r.num = 3;
    r.nte = true;
    r.zon = 12345;
    r.dtm = {2024, 5, 6, 12, 30, 0};
    std::strcpy(r.wav, "тревога.wav");
    return r;
}

template <typename R, int (*Build)(const R &, char *, uint16_t)> void BuildBench(benchmark::State &state, R record) {
    char buf[kRecordBufferSize];
    for (auto _ : state) {
        benchmark::DoNotOptimize(Build(record, buf, sizeof buf));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}

template <typename R, int (*Build)(const R &, char *, uint16_t), bool (*Parse)(const char *, R &)>
void ParseBench(benchmark::State &state, R record) {
    char buf[kRecordBufferSize];
    Build(record, buf, sizeof buf);
    R out;
    for (auto _ : state) {
        benchmark::DoNotOptimize(Parse(buf, out));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
[[maybe_unused]] const bool kRegistered = [] {
    benchmark::RegisterBenchmark("Build/setting", BuildBench<PdSettings, BuildSettingRecord>, SampleSetting());
    benchmark::RegisterBenchmark("Build/device", BuildBench<BcUnit, BuildDeviceRecord>, SampleDevice());
    benchmark::RegisterBenchmark("Build/zone", BuildBench<AlLine, BuildZoneRecord>, SampleZone());
    benchmark::RegisterBenchmark("Build/notify", BuildBench<NotifyScenario, BuildNotifyRecord>, SampleNotify());
    benchmark::RegisterBenchmark("Parse/setting", ParseBench<PdSettings, BuildSettingRecord, ParseSettingRecord>,
                                 SampleSetting());
    benchmark::RegisterBenchmark("Parse/device", ParseBench<BcUnit, BuildDeviceRecord, ParseDeviceRecord>,
                                 SampleDevice());
    benchmark::RegisterBenchmark("Parse/zone", ParseBench<AlLine, BuildZoneRecord, ParseZoneRecord>, SampleZone());
    benchmark::RegisterBenchmark("Parse/notify", ParseBench<NotifyScenario, BuildNotifyRecord, ParseNotifyRecord>,
                                 SampleNotify());
    return true;
}();
} // namespace
