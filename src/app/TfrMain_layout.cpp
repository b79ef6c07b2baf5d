// The main window's widgets, built in code. Every control carries its name as its
// object name, so the other windows and the tests find it by that name.
#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QStackedWidget>
#include <QStyle>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "TfrMain.h"
#include "app_texts.h"
#include "name_validator.h"
#include "window_fit.h"

namespace {
template <class W> W *named(W *w, const char *name) {
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

QLineEdit *makeEdit(const char *name) {
    return named(new QLineEdit, name);
}

// Editable, as the user may type a value that is not in the list.
QComboBox *makeCombo(const char *name, const QStringList &items) {
    auto *cb = named(new QComboBox, name);
    cb->setEditable(true);
    cb->addItems(items);
    cb->setInsertPolicy(QComboBox::NoInsert);
    return cb;
}

QStringList rsSpeeds() {
    return {"300", "600", "1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200"};
}

QGroupBox *group(const QString &title, QFormLayout *&form) {
    auto *box = new QGroupBox(title);
    form = new QFormLayout(box);
    form->setLabelAlignment(Qt::AlignLeft);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    return box;
}

QLabel *subHeading(const QString &text) {
    auto *l = new QLabel(text);
    QFont f = l->font();
    f.setItalic(true);
    l->setFont(f);
    return l;
}

QWidget *page(const char *name, std::initializer_list<QWidget *> parts, QPushButton *extra) {
    auto *w = named(new QWidget, name);
    auto *v = new QVBoxLayout(w);
    for (QWidget *p : parts)
        v->addWidget(p);
    if (extra)
        v->addWidget(extra, 0, Qt::AlignLeft);
    v->addStretch(1);
    return w;
}
} // namespace

void TfrMain::buildLayout() {
    setWindowTitle(QString::fromUtf8(kAppTitle));
    // Minimise and system menu only: no maximise, no resizing.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    buildMenu();

    auto *central = new QWidget(this);
    auto *outer = new QVBoxLayout(central);
    outer->setContentsMargins(4, 2, 4, 2);
    outer->setSpacing(3);
    outer->addWidget(buildToolBar());

    auto *projectLine = new QHBoxLayout;
    pnProjectUrl = named(new QLabel(QStringLiteral("Проект:")), "pnProjectUrl");
    pnProjectUrl->setStyleSheet("color: blue; text-decoration: underline;");
    pnProjectUrl->setCursor(Qt::PointingHandCursor);
    pnProjectUrl->setEnabled(false);
    pnProjectName = named(new QLabel, "pnProjectName");
    QFont bold = pnProjectName->font();
    bold.setBold(true);
    pnProjectName->setFont(bold);
    projectLine->addWidget(pnProjectUrl);
    projectLine->addWidget(pnProjectName, 1);
    outer->addLayout(projectLine);

    auto *middle = new QHBoxLayout;
    middle->addWidget(buildLeftColumn());

    pcMain = named(new QStackedWidget, "pcMain");
    tsEmpty = named(new QWidget, "tsEmpty");
    auto *emptyLayout = new QVBoxLayout(tsEmpty);
    auto *hint = new QLabel(QStringLiteral("Создайте или загрузите проект и выбрите параметр"));
    hint->setAlignment(Qt::AlignCenter);
    emptyLayout->addWidget(hint);
    tsPD = buildPdPage();
    tsBC = buildBcPage();
    tsAL = buildAlPage();
    // A stack has no tabs: the pages are switched by the tree only.
    for (QWidget *p : {tsEmpty, tsPD, tsBC, tsAL})
        pcMain->addWidget(p);
    middle->addWidget(pcMain, 1);
    outer->addLayout(middle, 1);

    mmInfo = named(new QPlainTextEdit, "mmInfo");
    mmInfo->setReadOnly(true);
    mmInfo->setFixedHeight(75);
    mmInfo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    outer->addWidget(mmInfo);
    pnFooter = named(new QLabel, "pnFooter");
    pnFooter->setFrameShape(QFrame::StyledPanel);
    pnFooter->setMinimumHeight(20);
    outer->addWidget(pnFooter);

    // On a screen smaller than the window the contents scroll instead of running off it.
    auto *scroll = named(new QScrollArea, "pnScroll");
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(central);
    setCentralWidget(scroll);
    fitToScreen();
    connectPageHandlers();
}

void TfrMain::fitToScreen() {
    // The device buttons name the longest device ("Прочитать параметры с ПД"): the left
    // column grows with the font rather than cut them.
    int column = 200;
    for (const char *caption : {"Прочитать параметры с ПД", "Текушие напряжения на ПД", "Файловый менеджер ПД",
                                "Прочитать параметры с БС", "Текушие напряжения на БС", "Прочитать параметры с АЛ"}) {
        QPushButton probe(QString::fromUtf8(caption));
        probe.setFont(bdReadCom->font());
        column = std::max(column, probe.sizeHint().width());
    }
    findChild<QWidget *>("pnLeft")->setFixedWidth(column);

    const QWidget *content = static_cast<QScrollArea *>(centralWidget())->widget();
    QSize needed = content->minimumSizeHint();
    needed.rheight() += menuBar()->sizeHint().height();
    const QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect available = s ? s->availableGeometry() : QRect(0, 0, 1920, 1080);
    // The frame is known only once the window is shown: a usual title bar and border.
    const QMargins frame(4, 32, 4, 4);
    const QSize size = FitWindowSize(QSize(669, 862), needed, available, frame);
    setFixedSize(size);
    move(FitWindowFramePos(size, available, frame));
}

QWidget *TfrMain::buildToolBar() {
    auto *bar = named(new QWidget, "pnToolBar");
    auto *h = new QHBoxLayout(bar);
    h->setContentsMargins(0, 0, 0, 0);
    auto add = [&](const char *name, const QString &hint, QStyle::StandardPixmap icon) {
        auto *a = named(new QAction(style()->standardIcon(icon), hint, this), name);
        a->setToolTip(hint);
        auto *b = new QToolButton;
        b->setDefaultAction(a);
        b->setAutoRaise(true);
        b->setIconSize(QSize(24, 24));
        h->addWidget(b);
        return a;
    };
    bbNew = add("bbNew", QStringLiteral("Новый"), QStyle::SP_FileIcon);
    bbOpen = add("bbOpen", QStringLiteral("Открыть"), QStyle::SP_DialogOpenButton);
    bbSave = add("bbSave", QStringLiteral("Сохранить"), QStyle::SP_DialogSaveButton);
    bbSaveAs = add("bbSaveAs", QStringLiteral("Сохранить как..."), QStyle::SP_DriveFDIcon);
    h->addStretch(1);
    connect(bbNew, &QAction::triggered, this, &TfrMain::miNewClick);
    connect(bbOpen, &QAction::triggered, this, &TfrMain::miLoadClick);
    connect(bbSave, &QAction::triggered, this, &TfrMain::miSaveClick);
    connect(bbSaveAs, &QAction::triggered, this, &TfrMain::miSaveKakClick);
    return bar;
}

void TfrMain::buildMenu() {
    QMenuBar *bar = menuBar();
    auto item = [&](QMenu *menu, const char *name, const QString &caption, void (TfrMain::*slot)()) {
        QAction *a = named(menu->addAction(caption), name);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    QMenu *file = bar->addMenu(QStringLiteral("&Файл"));
    miNew = item(file, "miNew", QStringLiteral("Новый проект"), &TfrMain::miNewClick);
    miLoad = item(file, "miLoad", QStringLiteral("&Загрузить проект"), &TfrMain::miLoadClick);
    file->addSeparator();
    miSave = item(file, "miSave", QStringLiteral("&Сохранить проект"), &TfrMain::miSaveClick);
    miSaveKak = item(file, "miSaveKak", QStringLiteral("С&охранить проект как ..."), &TfrMain::miSaveKakClick);
    miSaveTALVIK = item(file, "miSaveTALVIK", QStringLiteral("Сохранить проект В TALVIK"), &TfrMain::miSaveTALVIKClick);
    miCloseProject = item(file, "miCloseProject", QStringLiteral("За&крыть проект"), &TfrMain::miCloseProjectClick);
    file->addSeparator();
    miChangeProjectName = item(file, "miChangeProjectName", QStringLiteral("С&менить название проекта"),
                               &TfrMain::miChangeProjectNameClick);
    QMenu *settings = bar->addMenu(QStringLiteral("&Настройки"));
    miSettingCom = item(settings, "miSettingCom", QStringLiteral("Н&астройки COM порта"), &TfrMain::miSettingComClick);
    QMenu *tools = bar->addMenu(QStringLiteral("Инструменты"));
    miScaner = item(tools, "miScaner", QStringLiteral("Сканер устройств"), &TfrMain::miScanerClick);
    miUpgradePD = item(tools, "miUpgradePD", QStringLiteral("Обновление ПО на TALVIK-ПД"), &TfrMain::miUpgradePDClick);
    miUpgradeBC =
        item(tools, "miUpgradeBC", QStringLiteral("Обновление ПО на TALVIK-БC-16"), &TfrMain::miUpgradeBCClick);
    for (QAction *a : {miScaner, miUpgradePD, miUpgradeBC})
        a->setEnabled(false);
    // Checking the network against the project: needs a project, opens the port itself.
    tools->addSeparator();
    miCheckNetwork =
        item(tools, "miCheckNetwork", QStringLiteral("Сверить сеть с проектом"), &TfrMain::miCheckNetworkClick);
    miCheckNetwork->setEnabled(false);
    QMenu *help = bar->addMenu(QStringLiteral("&Помощь"));
    miAbout = item(help, "miAbout", QStringLiteral("&О программе"), &TfrMain::miAboutClick);
}

QWidget *TfrMain::buildLeftColumn() {
    auto *pnLeft = named(new QWidget, "pnLeft");
    pnLeft->setFixedWidth(200);
    auto *v = new QVBoxLayout(pnLeft);
    v->setContentsMargins(0, 0, 0, 0);
    auto *caption = new QLabel(QStringLiteral("Сеть TALVIK"));
    QFont f = caption->font();
    f.setBold(true);
    caption->setFont(f);
    v->addWidget(caption);
    tvNetwork = named(new QTreeWidget, "tvNetwork");
    tvNetwork->setHeaderHidden(true);
    tvNetwork->setColumnCount(1);
    tvNetwork->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tvNetwork->setMouseTracking(true); // hot tracking
    v->addWidget(tvNetwork, 1);
    auto button = [&](const char *name, const QString &caption, void (TfrMain::*slot)()) {
        auto *b = named(new QPushButton(caption), name);
        b->setEnabled(false);
        v->addWidget(b);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    btDeviceAdd = button("btDeviceAdd", QStringLiteral("Добавить БС"), &TfrMain::btDeviceAddClick);
    btDeviceDel = button("btDeviceDel", QStringLiteral("Удалить БС"), &TfrMain::btDeviceDelClick);
    bdReadCom = button("bdReadCom", QStringLiteral("Прочитать с прибора"), &TfrMain::bdReadComClick);
    btFileManager = button("btFileManager", QStringLiteral("Файловый менеджер"), &TfrMain::btFileManagerClick);
    btGetVoltage = button("btGetVoltage", QStringLiteral("Текущие напряжения"), &TfrMain::btGetVoltageClick);
    connect(tvNetwork, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *current) { onTreeCurrentChanged(current); });
    connect(tvNetwork, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) { onTreeItemClicked(item); });
    // Delete in the tree does what the delete button does, with the same question.
    auto *del = new QShortcut(QKeySequence::Delete, tvNetwork);
    del->setContext(Qt::WidgetShortcut);
    connect(del, &QShortcut::activated, this, [this] {
        if (btDeviceDel->isEnabled())
            btDeviceDelClick();
    });
    return pnLeft;
}

QWidget *TfrMain::buildPdPage() {
    QFormLayout *net, *line, *volume;
    QGroupBox *gNet = group(QStringLiteral("Параметры сети"), net);
    edPdAddr = makeEdit("edPdAddr");
    net->addRow(QStringLiteral("Адрес  ПД в сети (250...254)"), edPdAddr);
    cbPdRsSpeed = makeCombo("cbPdRsSpeed", rsSpeeds());
    net->addRow(QStringLiteral("Скорость RS485"), cbPdRsSpeed);
    edPdStatus = makeCombo("edPdStatus", {kMaster, kSlave});
    net->addRow(QStringLiteral("Статус"), edPdStatus);
    edPDLog = named(new QCheckBox(QStringLiteral("Логи в RS485")), "edPDLog");
    net->addRow(edPDLog);
    edPdShowErr = named(new QCheckBox(QStringLiteral("Уведомление неисправности")), "edPdShowErr");
    net->addRow(edPdShowErr);
    cbUSBMode = makeCombo("cbUSBMode", {kUsbFlash, kUsbCom});
    net->addRow(QStringLiteral("Режим USB"), cbUSBMode);

    QGroupBox *gLine = group(QStringLiteral("Параметры СЛ"), line);
    edPdUb = makeEdit("edPdUb");
    line->addRow(QStringLiteral("Установить Ub"), edPdUb);
    edPdDir = makeCombo("edPdDir", {kDirWest, kDirEast});
    line->addRow(QStringLiteral("Направление ПД"), edPdDir);
    cbPdMic = makeCombo("cbPdMic", {kMicNoLatch, kMicLatch});
    line->addRow(QStringLiteral("Включение микрофона"), cbPdMic);

    QGroupBox *gVol = group(QStringLiteral("Уровень громкости"), volume);
    edPdMic = makeEdit("edPdMic");
    volume->addRow(QStringLiteral("Микрофона, %"), edPdMic);
    edPdSpk = makeEdit("edPdSpk");
    volume->addRow(QStringLiteral("Динамика, %"), edPdSpk);
    edPdSig = makeEdit("edPdSig");
    volume->addRow(QStringLiteral("Служебных сигналов, %"), edPdSig);

    btPdDop = named(new QPushButton(QStringLiteral("Дополнительные параметры")), "btPdDop");
    connect(btPdDop, &QPushButton::clicked, this, &TfrMain::btPdDopClick);
    return page("tsPD", {gNet, gLine, gVol}, btPdDop);
}

QWidget *TfrMain::buildBcPage() {
    QFormLayout *net, *line;
    QGroupBox *gNet = group(QStringLiteral("Параметры сети"), net);
    edBcAddr = makeEdit("edBcAddr");
    net->addRow(QStringLiteral("Адрес  БС в сети (238...249)"), edBcAddr);
    cbBcRsSpeed = makeCombo("cbBcRsSpeed", rsSpeeds());
    net->addRow(QStringLiteral("Скорость RS485"), cbBcRsSpeed);
    cbBcLog = named(new QCheckBox(QStringLiteral("Логи в RS485")), "cbBcLog");
    net->addRow(cbBcLog);
    edBcName = makeEdit("edBcName");
    ApplyNameRules(edBcName, kBcNameSize);
    net->addRow(QStringLiteral("Описание БС (64 символа)"), edBcName);
    edBcMasterAddr = makeEdit("edBcMasterAddr");
    net->addRow(QStringLiteral("Адрес ведущего ПД"), edBcMasterAddr);
    edBcSlaveAddr = makeEdit("edBcSlaveAddr");
    net->addRow(QStringLiteral("Адрес ведомого ПД"), edBcSlaveAddr);

    QGroupBox *gLine = group(QStringLiteral("Параметры СЛ"), line);
    edBcUbWest = makeEdit("edBcUbWest");
    line->addRow(QStringLiteral("Установить Ub, WEST"), edBcUbWest);
    edBcUbEast = makeEdit("edBcUbEast");
    line->addRow(QStringLiteral("Установить Ub, EAST"), edBcUbEast);
    cbBypass = named(new QCheckBox(QStringLiteral("Режим BYPASS")), "cbBypass");
    line->addRow(cbBypass);
    cbBcDir = makeCombo("cbBcDir", {kDirEast, kDirWest});
    line->addRow(QStringLiteral("Направление ведущего ПД"), cbBcDir);
    return page("tsBC", {gNet, gLine}, nullptr);
}

QWidget *TfrMain::buildAlPage() {
    QFormLayout *ids, *volts, *volume;
    QGroupBox *gIds = group(QStringLiteral("Идентификаторы"), ids);
    edAlNumber = makeEdit("edAlNumber");
    ids->addRow(QStringLiteral("Номер АЛ"), edAlNumber);
    edAlZone = makeEdit("edAlZone");
    ids->addRow(QStringLiteral("Номер зоны"), edAlZone);
    edAlName = makeEdit("edAlName");
    ApplyNameRules(edAlName, kAlNameSize);
    ids->addRow(QStringLiteral("Описание зоны (64 символа)"), edAlName);

    QGroupBox *gVolts = group(QStringLiteral("Опорные напряжения  АЛ"), volts);
    volts->addRow(subHeading(QStringLiteral("Режим соединения")));
    edAlUvp = makeEdit("edAlUvp");
    volts->addRow(QStringLiteral("ВП подключено, Uvp"), edAlUvp);
    edAlUk = makeEdit("edAlUk");
    volts->addRow(QStringLiteral("ВП нажата кнопка, Uk"), edAlUk);
    edAlUsp = makeEdit("edAlUsp");
    volts->addRow(QStringLiteral("ВП динамик, Usp"), edAlUsp);
    volts->addRow(subHeading(QStringLiteral("Режим ожидания")));
    edAlTUvp = makeEdit("edAlTUvp");
    volts->addRow(QStringLiteral("ВП подключено, Utvp"), edAlTUvp);
    edAlTUk = makeEdit("edAlTUk");
    volts->addRow(QStringLiteral("ВП нажата кнопка, Utk"), edAlTUk);

    QGroupBox *gVol = group(QStringLiteral("Уровень громкости"), volume);
    edAlMic = makeEdit("edAlMic");
    volume->addRow(QStringLiteral("Микрофона, %"), edAlMic);
    edAlSpk = makeEdit("edAlSpk");
    volume->addRow(QStringLiteral("Динамика, %"), edAlSpk);
    edAlSig = makeEdit("edAlSig");
    volume->addRow(QStringLiteral("Служебных сигналов, %"), edAlSig);

    btAlDop = named(new QPushButton(QStringLiteral("Дополнительные параметры")), "btAlDop");
    connect(btAlDop, &QPushButton::clicked, this, &TfrMain::btAlDopClick);
    return page("tsAL", {gIds, gVolts, gVol}, btAlDop);
}

void TfrMain::connectPageHandlers() {
    auto onEdit = [this](QLineEdit *e, void (TfrMain::*slot)()) { connect(e, &QLineEdit::textChanged, this, slot); };
    // An editable combo reports typed text through currentTextChanged as well.
    auto onCombo = [this](QComboBox *c, void (TfrMain::*slot)()) {
        connect(c, &QComboBox::currentTextChanged, this, slot);
    };
    auto onCheck = [this](QCheckBox *c, void (TfrMain::*slot)()) { connect(c, &QCheckBox::toggled, this, slot); };

    onEdit(edPdAddr, &TfrMain::edPdAddrChange);
    onCombo(cbPdRsSpeed, &TfrMain::cbPdRsSpeedChange);
    onCombo(edPdStatus, &TfrMain::edPdStatusChange);
    onCheck(edPDLog, &TfrMain::edPDLogClick);
    onCheck(edPdShowErr, &TfrMain::edPdShowErrClick);
    onCombo(cbUSBMode, &TfrMain::cbUSBModeChange);
    onEdit(edPdUb, &TfrMain::edPdUbChange);
    onCombo(edPdDir, &TfrMain::edPdDirChange);
    onEdit(edPdMic, &TfrMain::edPdMicChange);
    onEdit(edPdSpk, &TfrMain::edPdSpkChange);
    onEdit(edPdSig, &TfrMain::edPdSigChange);
    onCombo(cbPdMic, &TfrMain::cbPdMicChange);

    onEdit(edBcAddr, &TfrMain::edBcAddrChange);
    onCombo(cbBcRsSpeed, &TfrMain::cbBcRsSpeedChange);
    onCheck(cbBcLog, &TfrMain::cbBcLogClick);
    onEdit(edBcName, &TfrMain::edBcNameChange);
    onEdit(edBcUbWest, &TfrMain::edBcUbWestChange);
    onEdit(edBcUbEast, &TfrMain::edBcUbEastChange);
    onCheck(cbBypass, &TfrMain::cbBypassClick);
    onCombo(cbBcDir, &TfrMain::cbBcDirChange);
    onEdit(edBcMasterAddr, &TfrMain::edBcMasterAddrChange);
    onEdit(edBcSlaveAddr, &TfrMain::edBcSlaveAddrChange);

    onEdit(edAlNumber, &TfrMain::edAlNumberChange);
    onEdit(edAlZone, &TfrMain::edAlZoneChange);
    onEdit(edAlName, &TfrMain::edAlNameChange);
    onEdit(edAlUvp, &TfrMain::edAlUvpChange);
    onEdit(edAlUk, &TfrMain::edAlUkChange);
    onEdit(edAlTUvp, &TfrMain::edAlTUvpChange);
    onEdit(edAlTUk, &TfrMain::edAlTUkChange);
    onEdit(edAlUsp, &TfrMain::edAlUspChange);
    onEdit(edAlMic, &TfrMain::edAlMicChange);
    onEdit(edAlSpk, &TfrMain::edAlSpkChange);
    onEdit(edAlSig, &TfrMain::edAlSigChange);
    connectEditFeedback();
}
