#include "sim_demo.h"

#include "text_utils.h"

namespace {
void AddBc(Project &p, uint8_t adr, const char *name) {
    BcUnit u;
    InitDeviceRecord(u);
    u.adr = adr;
    CopyTextUtf8(u.nam, sizeof u.nam, name);
    u.ube = 12.0f;
    u.ubw = 12.0f;
    AppendBcUnit(p, u);
}

void AddAl(Project &p, uint8_t adr, uint8_t prt, uint16_t zone, const char *name) {
    AlLine l;
    InitZoneRecord(l);
    l.adr = adr;
    l.prt = prt;
    l.num = zone;
    CopyTextUtf8(l.nam, sizeof l.nam, name);
    l.uvp = 9.6f;
    l.ukn = 7.2f;
    l.tuv = 11.8f;
    l.tuk = 10.4f;
    l.usp = 3.3f;
    AppendAlLine(p, l);
}

void SetScenario(Project &p, uint8_t num, uint16_t zone, const char *wav, PackedDateTime when) {
    NotifyScenario &n = p.notifies[num];
    InitNotifyRecord(n);
    n.num = num;
    n.nte = true;
    n.zon = zone;
    CopyTextUtf8(n.wav, sizeof n.wav, wav);
    n.per = 5;
    n.cnt = 3;
    n.dtm = when;
}
}  // namespace

std::unique_ptr<Project> MakeDemoProject() {
    auto p = std::make_unique<Project>();
    ResetProject(*p);
    InitSettingRecord(p->settings);
    p->settings.adr = 250;
    p->settings.mst = true;
    p->settings.ubs = 12.0f;
    CopyTextUtf8(p->settings.nam, sizeof p->settings.nam, "Демо-сеть ТАЛВИК");

    AddBc(*p, 238, "БС-16 корпус А");
    AddAl(*p, 238, 1, 101, "Пост охраны");
    AddAl(*p, 238, 2, 102, "Вестибюль");
    AddAl(*p, 238, 3, 103, "Лестница 1");
    AddAl(*p, 238, 4, 104, "Лестница 2");
    AddBc(*p, 240, "БС-16 корпус Б");
    AddAl(*p, 240, 1, 201, "Диспетчерская");
    AddAl(*p, 240, 2, 202, "Склад");

    for (uint8_t n = 1; n < kNotifyCount; ++n)
        p->notifies[n].num = n;
    SetScenario(*p, 1, 101, "пожарная_тревога.wav", {2025, 3, 1, 8, 30, 0});
    SetScenario(*p, 2, 201, "начало_смены.wav", {2025, 3, 1, 9, 0, 0});
    return p;
}
