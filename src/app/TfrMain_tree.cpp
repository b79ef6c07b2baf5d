// The network tree: building it from the project, a click that selects a record and
// fills its page, and adding and deleting BC units and AL lines.
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTreeWidget>
#include <vector>

#include "TCommPort.h"
#include "TfrAlDop.h"
#include "TfrMain.h"
#include "TfrPdDop.h"
#include "app_texts.h"
#include "project_edits.h"
#include "text_utils.h"

namespace {
QString q(const std::string &s) {
    return QString::fromStdString(s);
}
QString title() {
    return QString::fromUtf8(kAppTitle);
}
} // namespace

namespace {
// Where the user was in the tree, by what the nodes name: table slots move on deletion,
// the BC addresses and AL numbers in the node texts do not.
struct TreePlace {
    QStringList expandedBcs;
    NodeKind kind = NodeKind::None;
    QString bcText; // the selected BC node, or the selected AL's BC node
    int prt = -1;   // the selected AL's number
};

TreePlace PlaceOf(const QTreeWidget *tree, NodeKind kind) {
    TreePlace place;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        if (tree->topLevelItem(i)->isExpanded())
            place.expandedBcs << tree->topLevelItem(i)->text(0);
    const QTreeWidgetItem *item = tree->currentItem();
    if (!item)
        return place;
    place.kind = kind;
    if (kind == NodeKind::Bc)
        place.bcText = item->text(0);
    if (kind == NodeKind::Al && item->parent()) {
        place.bcText = item->parent()->text(0);
        place.prt = NumberAfterPrefix(item->text(0).toStdString(), kAlPrefix);
    }
    return place;
}

QTreeWidgetItem *NodeAt(const QTreeWidget *tree, const TreePlace &place) {
    if (place.kind == NodeKind::Pd)
        return tree->topLevelItem(0);
    for (int i = 1; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem *bc = tree->topLevelItem(i);
        if (bc->text(0) != place.bcText)
            continue;
        if (place.kind == NodeKind::Bc)
            return bc;
        for (int c = 0; c < bc->childCount(); ++c)
            if (NumberAfterPrefix(bc->child(c)->text(0).toStdString(), kAlPrefix) == place.prt)
                return bc->child(c);
    }
    return nullptr;
}
} // namespace

// Rebuilt after every change of the tables (an add, a copy, a sweep merge): the nodes
// that were expanded stay expanded and the record that was selected is selected again
// when it is still there, so the user keeps the page they were working on.
void TfrMain::RebuildNetworkTree() {
    const TreePlace place = PlaceOf(tvNetwork, SelectedNodeKind());
    m_skipClickFor = nullptr;
    clearSelection();
    QTreeWidgetItem *reselect = nullptr;
    {
        const QSignalBlocker block(tvNetwork);
        tvNetwork->clear();
        const Project &p = *m_project;
        // One pass sorts the lines into their BC's bucket, keeping table order within it.
        std::vector<std::vector<int>> linesOf(256);
        for (int i = 0; i < p.alCount; ++i)
            linesOf[p.alLines[i].adr].push_back(i);
        QList<QTreeWidgetItem *> top;
        top.reserve(p.bcCount + 1);
        top.append(new QTreeWidgetItem(QStringList{q(PdNodeText(p.settings.adr))}));
        for (int b = 0; b < p.bcCount; ++b) {
            auto *bcItem = new QTreeWidgetItem(QStringList{q(BcNodeText(p.bcUnits[b].adr))});
            const std::vector<int> &lines = linesOf[p.bcUnits[b].adr];
            QList<QTreeWidgetItem *> children;
            children.reserve(int(lines.size()));
            for (int i : lines)
                children.append(new QTreeWidgetItem(QStringList{q(AlNodeText(p.alLines[i].prt, p.alLines[i].num))}));
            bcItem->addChildren(children);
            top.append(bcItem);
        }
        tvNetwork->addTopLevelItems(top);
        tvNetwork->collapseAll();
        for (QTreeWidgetItem *item : top)
            if (place.expandedBcs.contains(item->text(0)))
                item->setExpanded(true);
        tvNetwork->setCurrentItem(nullptr);
        tvNetwork->clearSelection();
        reselect = NodeAt(tvNetwork, place);
    }
    setDeviceButtonsEnabled(false);
    pcMain->setCurrentWidget(tsEmpty);
    emit projectTablesChanged();
    if (reselect) {
        if (reselect->parent())
            reselect->parent()->setExpanded(true);
        tvNetwork->setCurrentItem(reselect); // fills its page and sets the buttons
    }
}

void TfrMain::ExpandNodeByText(const QString &text) {
    for (int i = 0; i < tvNetwork->topLevelItemCount(); ++i) {
        QTreeWidgetItem *top = tvNetwork->topLevelItem(i);
        if (top->text(0) == text) {
            top->setExpanded(true);
            return;
        }
        for (int c = 0; c < top->childCount(); ++c) {
            if (top->child(c)->text(0) == text) {
                top->child(c)->setExpanded(true);
                return;
            }
        }
    }
}

NodeKind TfrMain::SelectedNodeKind() const {
    QTreeWidgetItem *item = tvNetwork->currentItem();
    if (!item || !item->isSelected())
        return NodeKind::None;
    return NodeKindOfText(item->text(0).toStdString());
}

void TfrMain::setDeviceButtonsEnabled(bool enabled) {
    for (QPushButton *b : {btDeviceAdd, btDeviceDel, bdReadCom, btFileManager, btGetVoltage})
        b->setEnabled(enabled);
}

// Every button names the node shown, disabled ones too: a caption left from another
// node ("Удалить АЛ" under the PD page) tells the user the wrong thing.
void TfrMain::setDeviceCaptions(NodeKind kind) {
    switch (kind) {
    case NodeKind::Pd:
        btDeviceAdd->setText(QStringLiteral("Добавить БС"));
        btDeviceDel->setText(QStringLiteral("Удалить БС"));
        bdReadCom->setText(QStringLiteral("Прочитать параметры с ПД"));
        btGetVoltage->setText(QStringLiteral("Текушие напряжения на ПД"));
        btFileManager->setText(QStringLiteral("Файловый менеджер ПД"));
        break;
    case NodeKind::Bc:
        btDeviceAdd->setText(QStringLiteral("Добавить АЛ"));
        btDeviceDel->setText(QStringLiteral("Удалить БС"));
        bdReadCom->setText(QStringLiteral("Прочитать параметры с БС"));
        btGetVoltage->setText(QStringLiteral("Текушие напряжения на БС"));
        btFileManager->setText(QStringLiteral("Файловый менеджер БС"));
        break;
    case NodeKind::Al:
        btDeviceAdd->setText(QStringLiteral("Добавить АЛ"));
        btDeviceDel->setText(QStringLiteral("Удалить АЛ"));
        bdReadCom->setText(QStringLiteral("Прочитать параметры с АЛ"));
        btGetVoltage->setText(QStringLiteral("Текушие напряжения на АЛ"));
        btFileManager->setText(QStringLiteral("Файловый менеджер")); // disabled: lines hold no files
        break;
    case NodeKind::None:
        break;
    }
}

// A mouse press makes the node current and the release reports a click: the node is
// handled once. A node reached with the keyboard is handled too, so the page always
// shows the node the device buttons act on.
void TfrMain::onTreeCurrentChanged(QTreeWidgetItem *current) {
    if (!current)
        return;
    m_skipClickFor = QGuiApplication::mouseButtons() != Qt::NoButton ? current : nullptr;
    tvNetworkClick(current);
}

void TfrMain::onTreeItemClicked(QTreeWidgetItem *item) {
    if (item == m_skipClickFor) {
        m_skipClickFor = nullptr;
        return;
    }
    tvNetworkClick(item);
}

void TfrMain::tvNetworkClick(QTreeWidgetItem *item) {
    m_selAl = -1;
    setDeviceButtonsEnabled(false);
    pcMain->setCurrentWidget(tsEmpty);
    if (!item)
        return;
    if (tvNetwork->currentItem() != item) {
        const QSignalBlocker block(tvNetwork);
        tvNetwork->setCurrentItem(item);
    }
    const bool portOpen = m_comPort->Open() && !m_networkWriteRunning; // a network write owns the line
    const std::string text = item->text(0).toStdString();
    const NodeKind kind = NodeKindOfText(text);
    Project &p = *m_project;

    if (kind == NodeKind::Pd) {
        btFileManager->setEnabled(portOpen);
        btGetVoltage->setEnabled(portOpen);
        bdReadCom->setEnabled(portOpen);
        pcMain->setCurrentWidget(tsPD);
        fillPdPage();
        btDeviceAdd->setEnabled(true);
        setDeviceCaptions(kind);
        return;
    }

    auto selectBc = [&](const std::string &bcText) {
        BcUnit *bc = FindBcUnit(p, uint8_t(NumberAfterPrefix(bcText, kBcPrefix)));
        m_selBc = bc ? int(bc - p.bcUnits) : -1;
        return bc;
    };

    if (kind == NodeKind::Bc) {
        BcUnit *bc = selectBc(text);
        if (!bc) {
            dialogs().information(title(), QStringLiteral("Нет БС"));
            return;
        }
        btDeviceDel->setEnabled(true);
        btFileManager->setEnabled(portOpen);
        btGetVoltage->setEnabled(portOpen);
        bdReadCom->setEnabled(portOpen);
        pcMain->setCurrentWidget(tsBC);
        fillBcPage(*bc);
        btDeviceAdd->setEnabled(true);
        setDeviceCaptions(kind);
        return;
    }

    if (kind == NodeKind::Al) {
        const std::string parentText = item->parent() ? item->parent()->text(0).toStdString() : std::string();
        BcUnit *bc = selectBc(parentText);
        if (!bc) {
            dialogs().information(title(), QStringLiteral("Нет БС"));
            return;
        }
        AlLine *al = FindAlLine(p, bc->adr, uint16_t(NumberAfterPrefix(text, kAlPrefix)));
        if (!al) {
            dialogs().information(title(), QStringLiteral("Нет АЛ"));
            return;
        }
        m_selAl = int(al - p.alLines);
        btGetVoltage->setEnabled(portOpen);
        bdReadCom->setEnabled(portOpen);
        pcMain->setCurrentWidget(tsAL);
        fillAlPage(*al);
        btDeviceDel->setEnabled(true);
        setDeviceCaptions(kind);
    }
}

void TfrMain::fillPdPage() {
    const PdSettings &s = m_project->settings;
    m_filling = true;
    edPdAddr->setText(IntToText(s.adr));
    edPdAddr->setEnabled(s.mst);
    cbPdRsSpeed->setCurrentText(IntToText(s.rss));
    edPdStatus->setCurrentText(s.mst ? kMaster : kSlave);
    edPDLog->setChecked(s.rsl);
    edPdShowErr->setChecked(s.ers);
    edPdUb->setText(FloatToText(s.ubs));
    edPdDir->setCurrentText(s.drw ? kDirWest : kDirEast);
    edPdMic->setText(IntToText(s.mic));
    edPdSpk->setText(IntToText(s.spk));
    edPdSig->setText(IntToText(s.sps));
    cbPdMic->setCurrentText(s.mlk ? kMicLatch : kMicNoLatch);
    cbUSBMode->setCurrentText(s.usb ? kUsbCom : kUsbFlash);
    if (m_pdDop)
        m_pdDop->Fill(s);
    m_filling = false;
}

void TfrMain::fillBcPage(const BcUnit &bc) {
    m_filling = true;
    edBcAddr->setText(IntToText(bc.adr));
    cbBcRsSpeed->setCurrentText(IntToText(bc.rss));
    cbBcLog->setChecked(bc.rsl);
    edBcName->setText(QString::fromUtf8(bc.nam));
    edBcUbWest->setText(FloatToText(bc.ubw));
    edBcUbEast->setText(FloatToText(bc.ube));
    cbBypass->setChecked(bc.byp);
    cbBcDir->setCurrentText(bc.drw ? kDirWest : kDirEast);
    edBcMasterAddr->setText(IntToText(bc.pad));
    edBcSlaveAddr->setText(IntToText(bc.pas));
    m_filling = false;
}

void TfrMain::fillAlPage(const AlLine &al) {
    m_filling = true;
    edAlNumber->setText(IntToText(al.prt));
    edAlZone->setText(IntToText(al.num));
    edAlName->setText(QString::fromUtf8(al.nam));
    edAlUvp->setText(FloatToText(al.uvp));
    edAlUk->setText(FloatToText(al.ukn));
    edAlTUvp->setText(FloatToText(al.tuv));
    edAlTUk->setText(FloatToText(al.tuk));
    edAlUsp->setText(FloatToText(al.usp));
    edAlMic->setText(IntToText(al.mic));
    edAlSpk->setText(IntToText(al.spk));
    edAlSig->setText(IntToText(al.sps));
    if (m_alDop)
        m_alDop->Fill(al);
    m_filling = false;
}

void TfrMain::btDeviceAddClick() {
    const NodeKind kind = SelectedNodeKind();
    Project &p = *m_project;
    if (kind == NodeKind::Pd) {
        const QString text = InputValue(QStringLiteral("Введите адрес БС [238..249]"), QString());
        if (text == kInputCancel)
            return;
        switch (AddBcUnitFromText(p, text.toStdString())) {
        case AddResult::BadNumber:
            dialogs().information(title(), QStringLiteral("Ошибка в адресе"));
            return;
        case AddResult::NumberTaken:
            dialogs().information(title(), QStringLiteral("Ошибка такой адрес уже есть"));
            return;
        case AddResult::TableFull:
            LogInfo(QStringLiteral("Таблица БС заполнена (%1), БС не добавлен").arg(kBcCapacity));
            return;
        case AddResult::NoFreeZone: // a unit takes no zone number
        case AddResult::Added:
            break;
        }
        RebuildNetworkTree();
        MarkModified();
    } else if (kind == NodeKind::Bc) {
        const BcUnit *bc = SelectedBcUnit();
        if (!bc)
            return;
        const uint8_t bcAdr = bc->adr;
        const QString nodeText = tvNetwork->currentItem()->text(0);
        const QString text = InputValue(QStringLiteral("Введите номер АЛ [1..16]"), QString());
        if (text == kInputCancel)
            return;
        switch (AddAlLineFromText(p, bcAdr, text.toStdString(), m_rng)) {
        case AddResult::BadNumber:
            dialogs().information(title(), QStringLiteral("Ошибка в номере"));
            return;
        case AddResult::NumberTaken:
            dialogs().information(title(), QStringLiteral("Ошибка такой порт уже есть"));
            return;
        case AddResult::TableFull:
            LogInfo(QStringLiteral("Таблица АЛ заполнена (%1), АЛ не добавлена").arg(kAlCapacity));
            return;
        case AddResult::NoFreeZone:
            LogInfo(QStringLiteral("Все номера зон 1..32767 заняты, АЛ не добавлена"));
            return;
        case AddResult::Added:
            break;
        }
        RebuildNetworkTree();
        ExpandNodeByText(nodeText);
        MarkModified();
    }
}

void TfrMain::btDeviceDelClick() {
    if (!dialogs().askYesNo(title(), QStringLiteral("Удалить ?")))
        return;
    const NodeKind kind = SelectedNodeKind();
    if (kind == NodeKind::Bc && SelectedBcUnit()) {
        DeleteBcUnit(*m_project, SelectedBcUnit());
        RebuildNetworkTree();
        MarkModified();
    } else if (kind == NodeKind::Al && SelectedAlLine()) {
        QTreeWidgetItem *parent = tvNetwork->currentItem()->parent();
        const QString parentText = parent ? parent->text(0) : QString();
        DeleteAlLineAt(*m_project, SelectedAlLine());
        RebuildNetworkTree();
        ExpandNodeByText(parentText);
        MarkModified();
    }
    btDeviceAdd->setEnabled(false);
    btDeviceDel->setEnabled(false);
}
