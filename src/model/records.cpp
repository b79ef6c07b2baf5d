#include "records.h"

#include <cstring>

// Defaults of the four records: what a new project holds and what a text without a key leaves.

void InitSettingRecord(PdSettings &r) {
    std::memset(&r, 0, sizeof r);
    r.adr = 250;
    r.mst = true;
    r.rsl = false;
    r.rss = 19200;
    r.spk = 100;
    r.mic = 100;
    r.sps = 100;
    r.aru = false;
    r.arl = 10;
    r.ton = 30;
    r.tof = 300;
    r.spd = false;
    r.spl = 10;
    r.ubs = 0.0f;
    r.drw = true;
    r.usb = false;
    r.mlk = false;
    r.etp = 0;
    r.el1 = 10;
    r.el2 = 300;
    r.ers = true;
}

void InitDeviceRecord(BcUnit &r) {
    std::memset(&r, 0, sizeof r);
    r.adr = 238;
    r.rsl = false;
    r.rss = 19200;
    r.ene = true;
    r.enw = true;
    r.ube = 0.0f;
    r.ubw = 0.0f;
    r.byp = false;
    r.pad = 250;
    r.drw = false;
    r.pas = 251;
}

void InitZoneRecord(AlLine &r) {
    std::memset(&r, 0, sizeof r);
    r.spk = 100;
    r.mic = 100;
    r.sps = 100;
    r.etp = 0;
    r.el1 = 10;
    r.el2 = 300;
}

void InitNotifyRecord(NotifyScenario &r) {
    r = NotifyScenario{}; // value-initialised: every field and the whole wav array zero
}
