// Text to record. Each key is looked up on its own at its first occurrence anywhere in
// the line, and a value is read leniently from there. Devices and old project files
// depend on these readings (a "mst:yes" reads the next number in the line, an "adr:300"
// is stored as 44), so they are kept as they are.
#include <cstring>

#include "records.h"
#include "text_utils.h"

namespace {
class RecordText {
public:
    explicit RecordText(const char *text) : m_text(text), m_length(std::strlen(text)) {}

    template <typename T> void Int(const char *key, T &field) const {
        if (const char *v = Value(key))
            field = static_cast<T>(TextToInt(v)); // cut to the field's width, no range check
    }
    void Bool(const char *key, bool &field) const {
        if (const char *v = Value(key))
            field = TextToBool(v);
    }
    void Float(const char *key, float &field) const {
        if (const char *v = Value(key))
            field = TextToFloat(v);
    }
    void Date(const char *key, PackedDateTime &field) const {
        if (const char *v = Value(key))
            field = TextToDateTime(v);
    }
    // A name runs to the next comma, or without one to the next closing brace; without
    // either it stays empty. It is cut to the field at a character boundary and trimmed.
    template <size_t N> void Text(const char *key, char (&field)[N]) const {
        const char *v = Value(key);
        if (!v)
            return;
        size_t rest = m_length - static_cast<size_t>(v - m_text);
        const void *end = std::memchr(v, ',', rest);
        if (!end)
            end = std::memchr(v, '}', rest);
        if (!end)
            return;
        size_t n = static_cast<size_t>(static_cast<const char *>(end) - v);
        CopyBytes(field, N, v, Utf8CutLength(v, n, N - 1));
        BlankControlBytes(field); // a device's CR or LF would split the record when saved
        char *first = TrimText(field);
        if (!first)
            field[0] = '\0';
        else if (first != field)
            std::memmove(field, first, std::strlen(first) + 1);
    }

private:
    const char *Value(const char *key) const { return FindAfter(m_text, m_length, key); }

    const char *m_text;
    size_t m_length;
};

bool HasKeyword(const char *text, const char *keyword) {
    return text && std::strncmp(text, keyword, std::strlen(keyword)) == 0;
}
} // namespace

bool ParseSettingRecord(const char *text, PdSettings &out) {
    if (!HasKeyword(text, "setting:"))
        return false;
    PdSettings r;
    InitSettingRecord(r);
    RecordText t(text);
    t.Int("adr:", r.adr);
    t.Bool("mst:", r.mst);
    t.Bool("rsl:", r.rsl);
    t.Int("rss:", r.rss);
    t.Int("spk:", r.spk);
    t.Int("mic:", r.mic);
    t.Bool("aru:", r.aru);
    t.Int("arl:", r.arl);
    t.Int("ton:", r.ton);
    t.Int("tof:", r.tof);
    t.Bool("spd:", r.spd);
    t.Int("spl:", r.spl);
    t.Float("ubs:", r.ubs);
    t.Bool("drw:", r.drw);
    t.Bool("usb:", r.usb);
    t.Bool("mlk:", r.mlk);
    t.Int("etp:", r.etp);
    t.Int("el1:", r.el1);
    t.Int("el2:", r.el2);
    t.Int("sps:", r.sps);
    t.Bool("ers:", r.ers);
    t.Text("nam:", r.nam);
    out = r;
    return true;
}

bool ParseDeviceRecord(const char *text, BcUnit &out) {
    if (!HasKeyword(text, "device:"))
        return false;
    BcUnit r;
    InitDeviceRecord(r);
    RecordText t(text);
    t.Int("adr:", r.adr);
    t.Text("nam:", r.nam);
    t.Bool("ene:", r.ene);
    t.Bool("enw:", r.enw);
    t.Float("ube:", r.ube);
    t.Float("ubw:", r.ubw);
    t.Bool("byp:", r.byp);
    t.Bool("rsl:", r.rsl);
    t.Int("rss:", r.rss);
    t.Bool("drw:", r.drw);
    t.Int("pad:", r.pad);
    t.Int("pas:", r.pas);
    out = r;
    return true;
}

bool ParseZoneRecord(const char *text, AlLine &out) {
    if (!HasKeyword(text, "zone:"))
        return false;
    AlLine r;
    InitZoneRecord(r);
    RecordText t(text);
    t.Int("num:", r.num);
    t.Int("adr:", r.adr);
    t.Int("prt:", r.prt);
    t.Text("nam:", r.nam);
    t.Float("uvp:", r.uvp);
    t.Float("ukn:", r.ukn);
    t.Float("tuv:", r.tuv);
    t.Float("tuk:", r.tuk);
    t.Float("usp:", r.usp);
    t.Int("spk:", r.spk);
    t.Int("mic:", r.mic);
    t.Int("etp:", r.etp);
    t.Int("el1:", r.el1);
    t.Int("el2:", r.el2);
    t.Int("sps:", r.sps);
    out = r;
    return true;
}

bool ParseNotifyRecord(const char *text, NotifyScenario &out) {
    if (!HasKeyword(text, "notify:"))
        return false;
    NotifyScenario r;
    InitNotifyRecord(r);
    RecordText t(text);
    t.Int("num:", r.num);
    t.Bool("nte:", r.nte);
    t.Int("zon:", r.zon);
    t.Text("wav:", r.wav);
    t.Int("per:", r.per);
    t.Int("cnt:", r.cnt);
    t.Date("dtm:", r.dtm);
    t.Bool("src:", r.src);
    out = r;
    return true;
}
