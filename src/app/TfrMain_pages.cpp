// The PD, BC and AL pages: every edit goes straight into the record the page shows,
// read leniently and limited to its range. Nothing is reported to the user.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTreeWidget>

#include "TfrMain.h"
#include "app_texts.h"
#include "node_text.h"
#include "project_edits.h"
#include "records.h"
#include "store_value.h"
#include "value_rules.h"

namespace {
std::string text(const QLineEdit *e) { return e->text().toStdString(); }
std::string text(const QComboBox *c) { return c->currentText().toStdString(); }
constexpr float kVoltMax = 16.0f, kVoltMin = 0.0f;
constexpr int kVolumeMax = 1024;
constexpr int kPdAdrMin = 250, kPdAdrMax = 254;
constexpr int kRsMin = 300, kRsMax = 115200;
} // namespace

template <class T> void TfrMain::store(T &field, T value) {
    if (StoreChanged(field, value))
        MarkModified();
}

void TfrMain::storeInt(uint16_t &field, QLineEdit *edit, int min, int max) {
    store(field, uint16_t(ClampIntText(text(edit), min, max)));
}

void TfrMain::storeAddr(uint8_t &field, QLineEdit *edit) {
    store(field, uint8_t(ClampIntText(text(edit), kPdAdrMin, kPdAdrMax)));
}

void TfrMain::storeFloat(float &field, QLineEdit *edit) { store(field, ClampFloatText(text(edit), kVoltMax, kVoltMin)); }

void TfrMain::storeBool(bool &field, QCheckBox *box) { store(field, box->isChecked()); }

// Only the node the page was filled from is renamed, never another one.
void TfrMain::setCurrentNodeText(NodeKind kind, const std::string &nodeText) {
    QTreeWidgetItem *item = tvNetwork->currentItem();
    if (item && NodeKindOfText(item->text(0).toStdString()) == kind)
        item->setText(0, QString::fromStdString(nodeText));
}

// ---- PD page ----

void TfrMain::edPdAddrChange() {
    if (m_filling)
        return;
    storeAddr(m_project->settings.adr, edPdAddr);
    setCurrentNodeText(NodeKind::Pd, PdNodeText(m_project->settings.adr));
}

void TfrMain::cbPdRsSpeedChange() {
    if (!m_filling)
        store(m_project->settings.rss, int32_t(ClampIntText(text(cbPdRsSpeed), kRsMin, kRsMax)));
}

void TfrMain::edPdStatusChange() {
    if (!m_filling)
        store(m_project->settings.mst, ChoiceIs(text(edPdStatus), kMaster));
}

void TfrMain::edPDLogClick() {
    if (!m_filling)
        storeBool(m_project->settings.rsl, edPDLog);
}

void TfrMain::edPdShowErrClick() {
    if (!m_filling)
        storeBool(m_project->settings.ers, edPdShowErr);
}

void TfrMain::cbUSBModeChange() {
    if (!m_filling)
        store(m_project->settings.usb, ChoiceIs(text(cbUSBMode), kUsbCom));
}

void TfrMain::edPdUbChange() {
    if (!m_filling)
        storeFloat(m_project->settings.ubs, edPdUb);
}

void TfrMain::edPdDirChange() {
    if (!m_filling)
        store(m_project->settings.drw, ChoiceIs(text(edPdDir), kDirWest));
}

void TfrMain::edPdMicChange() {
    if (!m_filling)
        storeInt(m_project->settings.mic, edPdMic, 0, kVolumeMax);
}

void TfrMain::edPdSpkChange() {
    if (!m_filling)
        storeInt(m_project->settings.spk, edPdSpk, 0, kVolumeMax);
}

void TfrMain::edPdSigChange() {
    if (!m_filling)
        storeInt(m_project->settings.sps, edPdSig, 0, kVolumeMax);
}

void TfrMain::cbPdMicChange() {
    if (!m_filling)
        store(m_project->settings.mlk, ChoiceIs(text(cbPdMic), kMicLatch));
}

// ---- BC page: edits the BC unit the tree selected ----

void TfrMain::edBcAddrChange() {
    if (m_filling || !SelectedBcUnit())
        return;
    if (ApplyBcAddressText(*m_project, m_selBc, text(edBcAddr))) {
        setCurrentNodeText(NodeKind::Bc, BcNodeText(SelectedBcUnit()->adr));
        MarkModified();
    }
}

void TfrMain::cbBcRsSpeedChange() {
    if (!m_filling && SelectedBcUnit())
        store(SelectedBcUnit()->rss, int32_t(ClampIntText(text(cbBcRsSpeed), kRsMin, kRsMax)));
}

void TfrMain::cbBcLogClick() {
    if (!m_filling && SelectedBcUnit())
        storeBool(SelectedBcUnit()->rsl, cbBcLog);
}

void TfrMain::edBcNameChange() {
    if (!m_filling && SelectedBcUnit() &&
        StoreName(SelectedBcUnit()->nam, kBcNameSize, edBcName->text().toUtf8().toStdString()))
        MarkModified();
}

void TfrMain::edBcUbWestChange() {
    if (!m_filling && SelectedBcUnit())
        storeFloat(SelectedBcUnit()->ubw, edBcUbWest);
}

void TfrMain::edBcUbEastChange() {
    if (!m_filling && SelectedBcUnit())
        storeFloat(SelectedBcUnit()->ube, edBcUbEast);
}

void TfrMain::cbBypassClick() {
    if (!m_filling && SelectedBcUnit())
        storeBool(SelectedBcUnit()->byp, cbBypass);
}

void TfrMain::cbBcDirChange() {
    if (!m_filling && SelectedBcUnit())
        store(SelectedBcUnit()->drw, ChoiceIs(text(cbBcDir), kDirWest));
}

void TfrMain::edBcMasterAddrChange() {
    if (!m_filling && SelectedBcUnit())
        storeAddr(SelectedBcUnit()->pad, edBcMasterAddr);
}

void TfrMain::edBcSlaveAddrChange() {
    if (!m_filling && SelectedBcUnit())
        storeAddr(SelectedBcUnit()->pas, edBcSlaveAddr);
}

// ---- AL page: edits the AL line the tree selected ----

void TfrMain::edAlNumberChange() {
    AlLine *al = m_filling ? nullptr : SelectedAlLine();
    if (al && ApplyAlNumberText(*m_project, m_selAl, al->adr, text(edAlNumber))) {
        setCurrentNodeText(NodeKind::Al, AlNodeText(al->prt, al->num));
        MarkModified();
    }
}

void TfrMain::edAlZoneChange() {
    AlLine *al = m_filling ? nullptr : SelectedAlLine();
    if (al && ApplyAlZoneText(*m_project, m_selAl, text(edAlZone))) {
        setCurrentNodeText(NodeKind::Al, AlNodeText(al->prt, al->num));
        MarkModified();
    }
}

void TfrMain::edAlNameChange() {
    if (!m_filling && SelectedAlLine() &&
        StoreName(SelectedAlLine()->nam, kAlNameSize, edAlName->text().toUtf8().toStdString()))
        MarkModified();
}

void TfrMain::edAlUvpChange() {
    if (!m_filling && SelectedAlLine())
        storeFloat(SelectedAlLine()->uvp, edAlUvp);
}

void TfrMain::edAlUkChange() {
    if (!m_filling && SelectedAlLine())
        storeFloat(SelectedAlLine()->ukn, edAlUk);
}

void TfrMain::edAlTUvpChange() {
    if (!m_filling && SelectedAlLine())
        storeFloat(SelectedAlLine()->tuv, edAlTUvp);
}

void TfrMain::edAlTUkChange() {
    if (!m_filling && SelectedAlLine())
        storeFloat(SelectedAlLine()->tuk, edAlTUk);
}

void TfrMain::edAlUspChange() {
    if (!m_filling && SelectedAlLine())
        storeFloat(SelectedAlLine()->usp, edAlUsp);
}

void TfrMain::edAlMicChange() {
    if (!m_filling && SelectedAlLine())
        storeInt(SelectedAlLine()->mic, edAlMic, 0, kVolumeMax);
}

void TfrMain::edAlSpkChange() {
    if (!m_filling && SelectedAlLine())
        storeInt(SelectedAlLine()->spk, edAlSpk, 0, kVolumeMax);
}

void TfrMain::edAlSigChange() {
    if (!m_filling && SelectedAlLine())
        storeInt(SelectedAlLine()->sps, edAlSig, 0, kVolumeMax);
}
