// The comparison of what the devices hold with the project, and the report's text.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "network_check/network_compare.h"
#include "text_utils.h"

namespace {

AlLine Line(uint8_t bc, uint8_t prt, uint16_t zone, const char *name) {
    AlLine l;
    InitZoneRecord(l);
    l.adr = bc;
    l.prt = prt;
    l.num = zone;
    CopyTextUtf8(l.nam, sizeof l.nam, name);
    l.uvp = 9.6f;
    return l;
}

// PD 250; BC 238 with lines on ports 1 and 2, BC 240 with none.
ProjectRecords SmallProject() {
    ProjectRecords p;
    InitSettingRecord(p.pd);
    p.pd.adr = 250;
    p.pd.ubs = 12.0f;
    CopyTextUtf8(p.pd.nam, sizeof p.pd.nam, "Мой проект");
    for (uint8_t adr : {238, 240}) {
        BcUnit b;
        InitDeviceRecord(b);
        b.adr = adr;
        CopyTextUtf8(b.nam, sizeof b.nam, "БС-16, корпус А"); // a blank behind a comma
        p.bcs.push_back(b);
    }
    p.lines = {Line(238, 1, 101, "Пост охраны"), Line(238, 2, 102, "Вестибюль")};
    return p;
}

// The devices holding exactly the project: every request answered.
NetworkRecords Mirror(const ProjectRecords &p) {
    NetworkRecords n;
    n.pd = {ReadState::Answered, p.pd, {}};
    for (const BcUnit &b : p.bcs) {
        BcRead bc;
        bc.adr = b.adr;
        bc.unit = {ReadState::Answered, b, {}};
        for (int prt = 1; prt <= 16; ++prt) {
            AlLine empty;
            InitZoneRecord(empty);
            empty.adr = b.adr;
            empty.prt = uint8_t(prt);
            empty.num = 0;
            bc.ports[size_t(prt - 1)] = {ReadState::Answered, empty, {}};
        }
        n.bcs.push_back(bc);
    }
    for (const AlLine &l : p.lines)
        for (BcRead &bc : n.bcs)
            if (bc.adr == l.adr)
                bc.ports[size_t(l.prt - 1)].record = l;
    return n;
}

BcRead &Bc(NetworkRecords &n, uint8_t adr) {
    for (BcRead &bc : n.bcs)
        if (bc.adr == adr)
            return bc;
    throw std::logic_error("no such BC");
}

TEST(NetworkCompare, ReportsExactlyWhatDiffers) {
    const struct {
        const char *what;
        std::function<void(ProjectRecords &, NetworkRecords &)> change;
        std::string report;
    } rows[] = {
        {"the same network", [](ProjectRecords &, NetworkRecords &) {}, "Сеть совпадает с проектом\n"},
        {"a float that round-trips is the same", [](ProjectRecords &, NetworkRecords &n) { n.pd.record.ubs = 12.04f; },
         "Сеть совпадает с проектом\n"},
        {"bytes behind a name's end do not count",
         [](ProjectRecords &p, NetworkRecords &) { std::memset(p.bcs[0].nam + 40, 'x', 10); },
         "Сеть совпадает с проектом\n"},
        {"a whole number of the PD", [](ProjectRecords &, NetworkRecords &n) { n.pd.record.spk = 55; },
         "Записей с расхождениями: 1\nПД:250: отличается\n"
         "    spk (Динамика, %): в проекте \"100\", в устройстве \"55\"\n"},
        {"a float with one decimal",
         [](ProjectRecords &, NetworkRecords &n) { Bc(n, 238).ports[1].record.uvp = 9.75f; },
         "Записей с расхождениями: 1\nБС:238 АЛ:2: отличается\n"
         "    uvp (ВП подключено, Uvp): в проекте \"9.6\", в устройстве \"9.7\"\n"},
        {"a flag written without a comma before the next key",
         [](ProjectRecords &, NetworkRecords &n) { Bc(n, 240).unit.record.byp = true; },
         "Записей с расхождениями: 1\nБС:240: отличается\n"
         "    byp (Режим BYPASS): в проекте \"false\", в устройстве \"true\"\n"},
        {"a name holding a comma, and the next field",
         [](ProjectRecords &, NetworkRecords &n) {
             CopyTextUtf8(Bc(n, 238).unit.record.nam, kBcNameSize, "БС-16, корпус Б");
             Bc(n, 238).unit.record.ene = false;
         },
         "Записей с расхождениями: 1\nБС:238: отличается\n"
         "    nam (Описание БС): в проекте \"БС-16, корпус А\", в устройстве \"БС-16, корпус Б\"\n"
         "    ene: в проекте \"true\", в устройстве \"false\"\n"},
        {"the project name the PD holds",
         [](ProjectRecords &, NetworkRecords &n) { CopyTextUtf8(n.pd.record.nam, kPdNameSize, "Другой"); },
         "Записей с расхождениями: 1\nПД:250: отличается\n"
         "    nam (Название проекта): в проекте \"Мой проект\", в устройстве \"Другой\"\n"},
        {"a line missing in the device",
         [](ProjectRecords &, NetworkRecords &n) { Bc(n, 238).ports[1].record.num = 0; },
         "Записей с расхождениями: 1\nБС:238 АЛ:2: линия есть в проекте (зона 102), в устройстве её нет\n"},
        {"a line the project does not have",
         [](ProjectRecords &, NetworkRecords &n) { Bc(n, 240).ports[3].record = Line(240, 4, 204, "Склад"); },
         "Записей с расхождениями: 1\nБС:240 АЛ:4: линия есть в устройстве (зона 204), в проекте её нет\n"},
        {"a BC that does not answer is one row, its ports unasked",
         [](ProjectRecords &, NetworkRecords &n) {
             Bc(n, 238).unit.state = ReadState::NoAnswer;
             for (auto &port : Bc(n, 238).ports)
                 port.state = ReadState::NotRead;
         },
         "Записей с расхождениями: 1\nБС:238: не отвечает\n"},
        {"a PD that does not answer", [](ProjectRecords &, NetworkRecords &n) { n.pd.state = ReadState::NoAnswer; },
         "Записей с расхождениями: 1\nПД:250: не отвечает\n"},
        {"a port that does not answer",
         [](ProjectRecords &, NetworkRecords &n) { Bc(n, 240).ports[15].state = ReadState::NoAnswer; },
         "Записей с расхождениями: 1\nБС:240 АЛ:16: не отвечает\n"},
        {"an error reply",
         [](ProjectRecords &, NetworkRecords &n) {
             Bc(n, 238).ports[0].state = ReadState::Refused;
             Bc(n, 238).ports[0].error = "ERROR_PARAMS";
         },
         "Записей с расхождениями: 1\nБС:238 АЛ:1: ответ с ошибкой ERROR_PARAMS\n"},
        {"several records in the order they were read",
         [](ProjectRecords &, NetworkRecords &n) {
             Bc(n, 240).unit.record.pad = 251;
             n.pd.record.mst = false;
             Bc(n, 238).ports[0].record.num = 111;
         },
         "Записей с расхождениями: 3\nПД:250: отличается\n    mst (Статус): в проекте \"true\", в устройстве "
         "\"false\"\n"
         "БС:238 АЛ:1: отличается\n    num (Номер зоны): в проекте \"101\", в устройстве \"111\"\n"
         "БС:240: отличается\n    pad (Адрес ведущего ПД): в проекте \"250\", в устройстве \"251\"\n"},
        {"stopped before the end",
         [](ProjectRecords &, NetworkRecords &n) {
             for (auto &port : Bc(n, 240).ports)
                 port.state = ReadState::NotRead;
         },
         "Расхождений не найдено (сверка остановлена, не прочитано запросов: 16)\n"},
    };
    for (const auto &r : rows) {
        ProjectRecords project = SmallProject();
        NetworkRecords network = Mirror(project);
        r.change(project, network);
        const CheckReport report = CompareNetwork(project, network);
        EXPECT_EQ(ReportText(report), r.report) << r.what;
    }
}

TEST(NetworkCompare, RecordFieldsSplitAsTheBuilderWrites) {
    BcUnit b;
    InitDeviceRecord(b);
    b.adr = 238;
    CopyTextUtf8(b.nam, sizeof b.nam, "А, корпус 2 enw");
    char buf[kRecordBufferSize];
    BuildDeviceRecord(b, buf, sizeof buf);
    const auto fields = RecordFields(buf);
    ASSERT_EQ(fields.size(), 12u) << buf;
    EXPECT_EQ(fields[0], (std::pair<std::string, std::string>{"adr", "238"}));
    EXPECT_EQ(fields[1].second, "А, корпус 2 enw") << "a comma and a key's letters inside a name";
    EXPECT_EQ(fields[6], (std::pair<std::string, std::string>{"byp", "false"}));
    EXPECT_EQ(fields[7], (std::pair<std::string, std::string>{"pad", "250"}));
    EXPECT_EQ(fields[11].first, "pas");
    EXPECT_TRUE(RecordFields("zone:{num:").empty());
}

} // namespace
