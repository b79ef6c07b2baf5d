#include "record_compare.h"

#include <bit>
#include <cstring>

namespace {

// Floats compare by their bits: a value is "the same" only if every byte is.
bool SameFloat(float a, float b) {
    return std::bit_cast<uint32_t>(a) == std::bit_cast<uint32_t>(b);
}

template <size_t N> bool SameName(const char (&a)[N], const char (&b)[N]) {
    return std::strncmp(a, b, N) == 0;
}

} // namespace

bool SameRecord(const PdSettings &a, const PdSettings &b) {
    return a.adr == b.adr && a.mst == b.mst && a.rsl == b.rsl && a.rss == b.rss && a.spk == b.spk && a.mic == b.mic &&
           a.sps == b.sps && a.aru == b.aru && a.arl == b.arl && a.ton == b.ton && a.tof == b.tof && a.spd == b.spd &&
           a.spl == b.spl && SameFloat(a.ubs, b.ubs) && a.drw == b.drw && a.usb == b.usb && a.mlk == b.mlk &&
           a.etp == b.etp && a.el1 == b.el1 && a.el2 == b.el2 && a.ers == b.ers && SameName(a.nam, b.nam);
}

bool SameRecord(const BcUnit &a, const BcUnit &b) {
    return a.adr == b.adr && SameName(a.nam, b.nam) && a.rsl == b.rsl && a.rss == b.rss && a.ene == b.ene &&
           a.enw == b.enw && SameFloat(a.ube, b.ube) && SameFloat(a.ubw, b.ubw) && a.byp == b.byp && a.pad == b.pad &&
           a.drw == b.drw && a.pas == b.pas;
}

bool SameRecord(const AlLine &a, const AlLine &b) {
    return a.num == b.num && a.adr == b.adr && a.prt == b.prt && SameName(a.nam, b.nam) && SameFloat(a.uvp, b.uvp) &&
           SameFloat(a.ukn, b.ukn) && SameFloat(a.tuv, b.tuv) && SameFloat(a.tuk, b.tuk) && SameFloat(a.usp, b.usp) &&
           a.spk == b.spk && a.mic == b.mic && a.sps == b.sps && a.etp == b.etp && a.el1 == b.el1 && a.el2 == b.el2;
}

bool SameRecord(const NotifyScenario &a, const NotifyScenario &b) {
    const PackedDateTime &x = a.dtm;
    const PackedDateTime &y = b.dtm;
    return a.num == b.num && a.nte == b.nte && a.zon == b.zon && SameName(a.wav, b.wav) && a.per == b.per &&
           a.cnt == b.cnt && a.src == b.src && x.year == y.year && x.month == y.month && x.day == y.day &&
           x.hour == y.hour && x.minute == y.minute && x.second == y.second;
}
