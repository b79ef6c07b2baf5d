#include "network_compare.h"

#include <cctype>
#include <map>

namespace {

template <class Record> using Builder = int (*)(const Record &, char *, uint16_t);

template <class Record> std::string TextOf(const Record &r, Builder<Record> build) {
    char buf[kRecordBufferSize];
    const int n = build(r, buf, sizeof buf);
    return std::string(buf, size_t(n));
}
std::string TextOf(const PdSettings &r) {
    return TextOf(r, BuildSettingRecord);
}
std::string TextOf(const BcUnit &r) {
    return TextOf(r, BuildDeviceRecord);
}
std::string TextOf(const AlLine &r) {
    return TextOf(r, BuildZoneRecord);
}

// The keys of a record kind in their order, taken from its default record: its names are
// empty, so every key stands behind the '{', a blank or ", ".
std::vector<std::string> KeysOf(const std::string &defaultText) {
    std::vector<std::string> keys;
    for (size_t i = 0; i < defaultText.size(); ++i) {
        const char before = i == 0 ? '\0' : defaultText[i - 1];
        if (before != '{' && before != ' ')
            continue;
        size_t end = i;
        while (end < defaultText.size() && (std::islower(static_cast<unsigned char>(defaultText[end])) ||
                                            std::isdigit(static_cast<unsigned char>(defaultText[end]))))
            ++end;
        // A key begins with a letter; the "00:00" of a date does not.
        if (end > i && end < defaultText.size() && defaultText[end] == ':' &&
            std::islower(static_cast<unsigned char>(defaultText[i])))
            keys.push_back(defaultText.substr(i, end - i));
    }
    return keys;
}

const std::vector<std::string> &KeysFor(const std::string &text) {
    static const std::map<std::string, std::vector<std::string>> keys = [] {
        std::map<std::string, std::vector<std::string>> m;
        PdSettings s;
        InitSettingRecord(s);
        m["setting:"] = KeysOf(TextOf(s));
        BcUnit b;
        InitDeviceRecord(b);
        m["device:"] = KeysOf(TextOf(b));
        AlLine a;
        InitZoneRecord(a);
        m["zone:"] = KeysOf(TextOf(a));
        NotifyScenario n;
        InitNotifyRecord(n);
        char buf[kRecordBufferSize];
        BuildNotifyRecord(n, buf, sizeof buf);
        m["notify:"] = KeysOf(buf);
        return m;
    }();
    static const std::vector<std::string> none;
    const size_t brace = text.find('{');
    if (brace == std::string::npos)
        return none;
    const auto it = keys.find(text.substr(0, brace));
    return it == keys.end() ? none : it->second;
}

std::string Port(const std::string &bc, int prt) {
    return bc + " АЛ:" + std::to_string(prt);
}

template <class Record>
void AddDifferences(std::vector<CheckRow> &rows, const std::string &name, const Record &project, const Record &device) {
    const auto mine = RecordFields(TextOf(project));
    const auto theirs = RecordFields(TextOf(device));
    CheckRow row{name, RowKind::Differs, {}, {}};
    for (size_t i = 0; i < mine.size() && i < theirs.size(); ++i)
        if (mine[i].second != theirs[i].second)
            row.fields.push_back({mine[i].first, mine[i].second, theirs[i].second});
    if (!row.fields.empty())
        rows.push_back(std::move(row));
}

// Rows for a request that gave no record; true when there is a record to compare.
template <class Record> bool Answered(CheckReport &report, const std::string &name, const DeviceRead<Record> &read) {
    switch (read.state) {
    case ReadState::Answered:
        return true;
    case ReadState::NoAnswer:
        report.rows.push_back({name, RowKind::NoAnswer, {}, {}});
        break;
    case ReadState::Refused:
        report.rows.push_back({name, RowKind::Refused, {}, read.error});
        break;
    case ReadState::NotRead:
        report.complete = false;
        ++report.notRead;
        break;
    }
    return false;
}

const AlLine *ProjectLine(const ProjectRecords &p, uint8_t adr, int prt) {
    for (const AlLine &l : p.lines)
        if (l.adr == adr && l.prt == prt)
            return &l;
    return nullptr;
}

const BcUnit *ProjectBc(const ProjectRecords &p, uint8_t adr) {
    for (const BcUnit &b : p.bcs)
        if (b.adr == adr)
            return &b;
    return nullptr;
}

void ComparePorts(CheckReport &report, const ProjectRecords &project, const BcRead &bc, const std::string &name) {
    for (int prt = 1; prt <= 16; ++prt) {
        const DeviceRead<AlLine> &read = bc.ports[size_t(prt - 1)];
        const std::string port = Port(name, prt);
        if (!Answered(report, port, read))
            continue;
        const AlLine *mine = ProjectLine(project, bc.adr, prt);
        const bool theirs = read.record.num != 0; // zone 0: no line on this port
        if (mine && theirs)
            AddDifferences(report.rows, port, *mine, read.record);
        else if (mine)
            report.rows.push_back({port, RowKind::OnlyInProject, {}, "зона " + std::to_string(mine->num)});
        else if (theirs)
            report.rows.push_back({port, RowKind::OnlyInDevice, {}, "зона " + std::to_string(read.record.num)});
    }
}

std::string KindOf(const std::string &record) {
    if (record.find("АЛ:") != std::string::npos)
        return "zone";
    if (record.rfind("БС:", 0) == 0)
        return "device";
    return "setting";
}

} // namespace

ProjectRecords RecordsOf(const Project &p) {
    ProjectRecords r;
    r.pd = p.settings;
    r.bcs.assign(p.bcUnits, p.bcUnits + p.bcCount);
    r.lines.assign(p.alLines, p.alLines + p.alCount);
    return r;
}

std::vector<std::pair<std::string, std::string>> RecordFields(const std::string &text) {
    std::vector<std::pair<std::string, std::string>> out;
    const std::vector<std::string> &keys = KeysFor(text);
    const size_t close = text.rfind('}');
    if (keys.empty() || close == std::string::npos)
        return out;
    size_t at = text.find('{') + 1;
    for (size_t k = 0; k < keys.size(); ++k) {
        const std::string key = keys[k] + ":";
        if (text.compare(at, key.size(), key) != 0)
            break; // not what this record's builder writes
        const size_t value = at + key.size();
        size_t end = close, next = close;
        if (k + 1 < keys.size()) {
            // The next key follows ", " (or a lone blank, as "pad" does behind "byp").
            const size_t found = text.find(" " + keys[k + 1] + ":", value);
            if (found == std::string::npos || found > close)
                break;
            end = found > value && text[found - 1] == ',' ? found - 1 : found;
            next = found + 1;
        }
        out.emplace_back(keys[k], text.substr(value, end - value));
        at = next;
    }
    return out;
}

CheckReport CompareNetwork(const ProjectRecords &project, const NetworkRecords &network) {
    CheckReport report;
    const std::string pdName = "ПД:" + std::to_string(project.pd.adr);
    if (Answered(report, pdName, network.pd))
        AddDifferences(report.rows, pdName, project.pd, network.pd.record);
    for (const BcRead &bc : network.bcs) {
        const BcUnit *mine = ProjectBc(project, bc.adr);
        if (!mine)
            continue; // only the project's units are read
        const std::string name = "БС:" + std::to_string(bc.adr);
        // A unit that gave no record was not asked for its ports: its own row says so.
        if (!Answered(report, name, bc.unit)) {
            if (bc.unit.state == ReadState::NotRead)
                report.notRead += 16; // its ports were never asked either
            continue;
        }
        AddDifferences(report.rows, name, *mine, bc.unit.record);
        ComparePorts(report, project, bc, name);
    }
    return report;
}

std::string FieldCaption(const std::string &recordKind, const std::string &key) {
    static const std::map<std::string, std::string> common = {
        {"rss", "Скорость RS485"},         {"rsl", "Логи в RS485"},
        {"mic", "Микрофона, %"},           {"spk", "Динамика, %"},
        {"sps", "Служебных сигналов, %"},  {"etp", "Эхоподавление, тип"},
        {"el1", "Время срабатывания, мс"}, {"el2", "Время запаздывания, мс"},
    };
    static const std::map<std::string, std::map<std::string, std::string>> byKind = {
        {"setting",
         {{"adr", "Адрес ПД в сети"},
          {"mst", "Статус"},
          {"ubs", "Установить Ub"},
          {"drw", "Направление ПД"},
          {"usb", "Режим USB"},
          {"mlk", "Включение микрофона"},
          {"ers", "Уведомление неисправности"},
          {"aru", "АРУ включено"},
          {"arl", "Уровень сигнала, %"},
          {"ton", "АРУ, время срабатывания, мс"},
          {"tof", "АРУ, время запаздывания, мс"},
          {"spd", "Детектор речи"},
          {"spl", "Уровень детектора речи, %"},
          {"nam", "Название проекта"}}},
        {"device",
         {{"adr", "Адрес БС в сети"},
          {"nam", "Описание БС"},
          {"ube", "Установить Ub, EAST"},
          {"ubw", "Установить Ub, WEST"},
          {"byp", "Режим BYPASS"},
          {"drw", "Направление ведущего ПД"},
          {"pad", "Адрес ведущего ПД"},
          {"pas", "Адрес ведомого ПД"}}},
        {"zone",
         {{"num", "Номер зоны"},
          {"prt", "Номер АЛ"},
          {"nam", "Описание зоны"},
          {"uvp", "ВП подключено, Uvp"},
          {"ukn", "ВП нажата кнопка, Uk"},
          {"tuv", "ВП подключено, Utvp"},
          {"tuk", "ВП нажата кнопка, Utk"},
          {"usp", "ВП динамик, Usp"}}},
    };
    if (const auto kind = byKind.find(recordKind); kind != byKind.end())
        if (const auto it = kind->second.find(key); it != kind->second.end())
            return it->second;
    const auto it = common.find(key);
    return it == common.end() ? std::string() : it->second;
}

std::string RowState(const CheckRow &row) {
    switch (row.kind) {
    case RowKind::Differs:
        return "отличается";
    case RowKind::NoAnswer:
        return "не отвечает";
    case RowKind::Refused:
        return "ответ с ошибкой " + row.detail;
    case RowKind::OnlyInProject:
        return "линия есть в проекте (" + row.detail + "), в устройстве её нет";
    case RowKind::OnlyInDevice:
        return "линия есть в устройстве (" + row.detail + "), в проекте её нет";
    }
    return {};
}

std::string FieldLabel(const CheckRow &row, const FieldDifference &field) {
    const std::string caption = FieldCaption(KindOf(row.record), field.key);
    return caption.empty() ? field.key : field.key + " (" + caption + ")";
}

std::string ReportSummary(const CheckReport &report) {
    if (report.matches())
        return "Сеть совпадает с проектом";
    std::string s = report.rows.empty() ? "Расхождений не найдено"
                                        : "Записей с расхождениями: " + std::to_string(report.rows.size());
    if (!report.complete)
        s += " (сверка остановлена, не прочитано запросов: " + std::to_string(report.notRead) + ")";
    return s;
}

std::string ReportText(const CheckReport &report) {
    std::string out = ReportSummary(report) + "\n";
    for (const CheckRow &row : report.rows) {
        out += row.record + ": " + RowState(row) + "\n";
        for (const FieldDifference &f : row.fields)
            out +=
                "    " + FieldLabel(row, f) + ": в проекте \"" + f.project + "\", в устройстве \"" + f.device + "\"\n";
    }
    return out;
}
