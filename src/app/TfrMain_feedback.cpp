// What the number edits of the pages say back to the user. Every keystroke is stored
// leniently (limited, or ignored when refused), so the text typed may differ from the
// value kept: while it does, the edit is marked and its tooltip says why; on Enter or
// when the edit is left, it shows the stored value again.
#include <QComboBox>
#include <QLineEdit>

#include "TfrMain.h"
#include "input_refusal.h"
#include "text_utils.h"

namespace {
constexpr float kVoltMax = 16.0f;
constexpr int kVolumeMax = 1024;
QString q(const char *s) {
    return QString::fromUtf8(s);
}
} // namespace

void TfrMain::markEdit(QLineEdit *edit, const std::string &why, const QString &stored) {
    const bool refused = !why.empty();
    if (edit->property("refused").toBool() == refused && !refused)
        return;
    edit->setProperty("refused", refused);
    edit->setToolTip(refused ? QString::fromStdString(why) + QStringLiteral("\nВ проекте: ") + stored : QString());
    edit->setAccessibleDescription(refused ? QString::fromStdString(why) : QString());
    edit->setStyleSheet(refused ? QStringLiteral("QLineEdit { background: #ffd8d8; }") : QString());
}

void TfrMain::watchNumberEdit(QLineEdit *edit, std::function<QString()> stored,
                              std::function<std::string(const std::string &)> refusal) {
    // Connected after the page's own handler, so the value is already stored here.
    connect(edit, &QLineEdit::textChanged, this, [=, this](const QString &text) {
        const QString kept = stored();
        if (m_filling || kept.isNull())
            markEdit(edit, {}, {});
        else
            markEdit(edit, refusal(text.toStdString()), kept);
    });
    connect(edit, &QLineEdit::editingFinished, this, [=, this] {
        const QString kept = stored();
        if (kept.isNull())
            return;
        const bool wasFilling = m_filling;
        m_filling = true;
        if (edit->text() != kept)
            edit->setText(kept);
        m_filling = wasFilling;
        markEdit(edit, {}, {});
    });
}

void TfrMain::connectEditFeedback() {
    using Refusal = std::function<std::string(const std::string &)>;
    auto integer = [](int min, int max) -> Refusal {
        return [=](const std::string &t) { return IntegerRefusal(t, min, max); };
    };
    const Refusal volt = [](const std::string &t) { return DecimalRefusal(t, kVoltMax); };
    const Refusal pdAddr = integer(250, 254), volume = integer(0, kVolumeMax), speed = integer(300, 115200);
    // A null text: no record is shown, nothing to compare with.
    auto pd = [this](auto get) { return [this, get] { return QString(q(get(m_project->settings))); }; };
    auto bc = [this](auto get) {
        return [this, get] { return SelectedBcUnit() ? q(get(*SelectedBcUnit())) : QString(); };
    };
    auto al = [this](auto get) {
        return [this, get] { return SelectedAlLine() ? q(get(*SelectedAlLine())) : QString(); };
    };

    watchNumberEdit(edPdAddr, pd([](const PdSettings &s) { return IntToText(s.adr); }), pdAddr);
    watchNumberEdit(cbPdRsSpeed->lineEdit(), pd([](const PdSettings &s) { return IntToText(s.rss); }), speed);
    watchNumberEdit(edPdUb, pd([](const PdSettings &s) { return FloatToText(s.ubs); }), volt);
    watchNumberEdit(edPdMic, pd([](const PdSettings &s) { return IntToText(s.mic); }), volume);
    watchNumberEdit(edPdSpk, pd([](const PdSettings &s) { return IntToText(s.spk); }), volume);
    watchNumberEdit(edPdSig, pd([](const PdSettings &s) { return IntToText(s.sps); }), volume);

    watchNumberEdit(edBcAddr, bc([](const BcUnit &b) { return IntToText(b.adr); }),
                    [this](const std::string &t) { return BcAddressRefusal(*m_project, m_selBc, t); });
    watchNumberEdit(cbBcRsSpeed->lineEdit(), bc([](const BcUnit &b) { return IntToText(b.rss); }), speed);
    watchNumberEdit(edBcUbWest, bc([](const BcUnit &b) { return FloatToText(b.ubw); }), volt);
    watchNumberEdit(edBcUbEast, bc([](const BcUnit &b) { return FloatToText(b.ube); }), volt);
    watchNumberEdit(edBcMasterAddr, bc([](const BcUnit &b) { return IntToText(b.pad); }), pdAddr);
    watchNumberEdit(edBcSlaveAddr, bc([](const BcUnit &b) { return IntToText(b.pas); }), pdAddr);

    watchNumberEdit(edAlNumber, al([](const AlLine &a) { return IntToText(a.prt); }),
                    [this](const std::string &t) { return AlNumberRefusal(*m_project, m_selAl, t); });
    watchNumberEdit(edAlZone, al([](const AlLine &a) { return IntToText(a.num); }),
                    [this](const std::string &t) { return ZoneRefusal(*m_project, m_selAl, t); });
    watchNumberEdit(edAlUvp, al([](const AlLine &a) { return FloatToText(a.uvp); }), volt);
    watchNumberEdit(edAlUk, al([](const AlLine &a) { return FloatToText(a.ukn); }), volt);
    watchNumberEdit(edAlTUvp, al([](const AlLine &a) { return FloatToText(a.tuv); }), volt);
    watchNumberEdit(edAlTUk, al([](const AlLine &a) { return FloatToText(a.tuk); }), volt);
    watchNumberEdit(edAlUsp, al([](const AlLine &a) { return FloatToText(a.usp); }), volt);
    watchNumberEdit(edAlMic, al([](const AlLine &a) { return IntToText(a.mic); }), volume);
    watchNumberEdit(edAlSpk, al([](const AlLine &a) { return IntToText(a.spk); }), volume);
    watchNumberEdit(edAlSig, al([](const AlLine &a) { return IntToText(a.sps); }), volume);
}
