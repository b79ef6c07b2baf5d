// Record to text. The pair order and the separators are what the devices and existing
// project files expect, including the blank without a comma between "byp" and "pad".
#include <cstdio>
#include <cstring>

#include "records.h"
#include "text_utils.h"

namespace {
// snprintf reports the length it wanted; the caller gets the length it got.
int Written(int wanted, uint16_t size) {
    if (wanted < 0 || size == 0)
        return 0;
    return wanted < size ? wanted : size - 1;
}

// A name field is printed up to its NUL, but never beyond its own array even when a
// caller filled it without one ("%.*s" prints exactly what "%s" would for a proper name).
template <size_t N> int Bounded(const char (&field)[N]) {
    return static_cast<int>(strnlen(field, N));
}
} // namespace

int BuildSettingRecord(const PdSettings &r, char *buf, uint16_t size) {
    if (!buf || size == 0)
        return 0;
    int n = std::snprintf(
        buf, size,
        "%s{%s%d, %s%s, %s%s, %s%d, %s%d, %s%d, %s%s, %s%d, %s%d, %s%d, %s%s, %s%d, %s%s, %s%s, %s%s, %s%s, "
        "%s%d, %s%d, %s%d, %s%d, %s%s, %s%.*s}",
        "setting:", "adr:", r.adr, "mst:", BoolToText(r.mst), "rsl:", BoolToText(r.rsl), "rss:", r.rss, "mic:", r.mic,
        "spk:", r.spk, "aru:", BoolToText(r.aru), "arl:", r.arl, "ton:", r.ton, "tof:", r.tof,
        "spd:", BoolToText(r.spd), "spl:", r.spl, "ubs:", FloatToText(r.ubs), "drw:", BoolToText(r.drw),
        "usb:", BoolToText(r.usb), "mlk:", BoolToText(r.mlk), "etp:", r.etp, "el1:", r.el1, "el2:", r.el2,
        "sps:", r.sps, "ers:", BoolToText(r.ers), "nam:", Bounded(r.nam), r.nam);
    return Written(n, size);
}

int BuildDeviceRecord(const BcUnit &r, char *buf, uint16_t size) {
    if (!buf || size == 0)
        return 0;
    int n = std::snprintf(buf, size, "%s{%s%d, %s%.*s, %s%s, %s%s, %s%s, %s%s, %s%s %s%d, %s%s, %s%d, %s%s, %s%d}",
                          "device:", "adr:", r.adr, "nam:", Bounded(r.nam), r.nam, "ene:", BoolToText(r.ene),
                          "enw:", BoolToText(r.enw), "ube:", FloatToText(r.ube), "ubw:", FloatToText(r.ubw),
                          "byp:", BoolToText(r.byp), "pad:", r.pad, "rsl:", BoolToText(r.rsl), "rss:", r.rss,
                          "drw:", BoolToText(r.drw), "pas:", r.pas);
    return Written(n, size);
}

int BuildZoneRecord(const AlLine &r, char *buf, uint16_t size) {
    if (!buf || size == 0)
        return 0;
    // Five floats: half the conversion ring, so none is overwritten before it is printed.
    int n = std::snprintf(
        buf, size, "%s{%s%d, %s%d, %s%d, %s%.*s, %s%s, %s%s, %s%s, %s%s, %s%s, %s%d, %s%d, %s%d, %s%d, %s%d, %s%d}",
        "zone:", "num:", r.num, "adr:", r.adr, "prt:", r.prt, "nam:", Bounded(r.nam), r.nam, "uvp:", FloatToText(r.uvp),
        "ukn:", FloatToText(r.ukn), "tuv:", FloatToText(r.tuv), "tuk:", FloatToText(r.tuk), "usp:", FloatToText(r.usp),
        "spk:", r.spk, "mic:", r.mic, "etp:", r.etp, "el1:", r.el1, "el2:", r.el2, "sps:", r.sps);
    return Written(n, size);
}

int BuildNotifyRecord(const NotifyScenario &r, char *buf, uint16_t size) {
    if (!buf || size == 0)
        return 0;
    int n = std::snprintf(buf, size, "%s{%s%d, %s%s, %s%d, %s%.*s, %s%d, %s%d, %s%s, %s%s}", "notify:", "num:", r.num,
                          "nte:", BoolToText(r.nte), "zon:", r.zon, "wav:", Bounded(r.wav), r.wav, "per:", r.per,
                          "cnt:", r.cnt, "dtm:", DateTimeToText(r.dtm), "src:", BoolToText(r.src));
    return Written(n, size);
}
