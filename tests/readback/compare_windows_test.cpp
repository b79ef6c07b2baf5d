// The four compare windows: every value a device reported lands, in the right words,
// in the control the user expects under the caption of the parameter pages.
#include <QPushButton>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>

#include "tfr_read_params.h"
#include "tfr_read_params_bc.h"
#include "tfr_read_params_notify.h"
#include "tfr_read_params_zone.h"
#include "widget_probe.h"

namespace {

struct FieldRow {
    const char *control;
    const char *caption;
    const char *shown;
};

void ExpectShows(const QWidget &window, const FieldRow *rows, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        const FieldRow &row = rows[i];
        SCOPED_TRACE(row.control);
        EXPECT_EQ(CaptionOf(&window, row.control), QString::fromUtf8(row.caption));
        EXPECT_EQ(ShownIn(&window, row.control), QString::fromUtf8(row.shown));
        EXPECT_FALSE(IsEnabledIn(&window, row.control)) << "values are for reading only";
    }
}

// Every field differs from its default, so a control filled from the wrong field shows.
PdSettings SamplePd()
{
    PdSettings r{};
    r.adr = 252;
    r.mst = true;
    r.rsl = true;
    r.rss = 57600;
    r.spk = 700;
    r.mic = 512;
    r.sps = 33;
    r.aru = true;
    r.arl = 60000;
    r.ton = 1500;
    r.tof = 2500;
    r.spd = true;
    r.spl = 45;
    r.ubs = 13.7f;
    r.drw = true;
    r.usb = true;
    r.mlk = true;
    r.etp = 2;
    r.el1 = 120;
    r.el2 = 32767;
    r.ers = true;
    std::strcpy(r.nam, "Станция");
    return r;
}

const FieldRow kPdRows[] = {
    {"edPdAddr", "Адрес  ПД в сети (250...254)", "252"},
    {"cbPdRsSpeed", "Скорость RS485", "57600"},
    {"edPdStatus", "Статус", "Ведущий"},
    {"edPDLog", "Логи в RS485", "checked"},
    {"edPdShowErr", "Уведомление неисправности", "checked"},
    {"edPdUb", "Установить Ub", "13.7"},
    {"edPdDir", "Направление ПД", "WEST"},
    {"edPdMic", "Микрофона, %", "512"},
    {"edPdSpk", "Динамика, %", "700"},
    {"edPdSig", "Служебных сигналов, %", "33"},
    {"cbPdMic", "Включение микрофона", "С фиксацией"},
    {"cbUSBMode", "Режим USB", "COM порт"},
    {"cbPdAruEnable", "Включено", "checked"},
    {"edPdAruLevel", "Уровень сигнала, %", "60000"},
    {"edPdAruTimeOn", "Время срабатывания, мс", "1500"},
    {"edPdAruTimeOff", "Время запаздывания, мс", "2500"},
    {"cbPdAruSpdEnable", "Детектор речи", "checked"},
    {"cbPdAruSpdLevel", "Уровень детектора речи, % ", "45"},
    {"cbPdEchoType", "Тип", "Микрофон"},
    {"edPdEchoLevel1", "Время срабатывания, мс", "120"},
    {"edPdEchoLevel2", "Время запаздывания, мс", "32767"},
};

TEST(TfrReadParams, ShowsEveryPdSettingInItsControl)
{
    TfrReadParams window;
    window.Fill(SamplePd());
    EXPECT_EQ(window.windowTitle(), QString::fromUtf8("Полученные данные с ПД"));
    ExpectShows(window, kPdRows, std::size(kPdRows));
}

TEST(TfrReadParams, RefillReplacesEveryValueInPlace)
{
    TfrReadParams window;
    window.Fill(SamplePd());

    PdSettings other{};
    other.adr = 250;
    other.rss = 12345;  // not one of the offered speeds, still shown as reported
    other.ubs = 12.99f;
    other.etp = 7;
    window.Fill(other);

    const FieldRow rows[] = {
        {"edPdAddr", "Адрес  ПД в сети (250...254)", "250"},
        {"cbPdRsSpeed", "Скорость RS485", "12345"},
        {"edPdStatus", "Статус", "Ведомый"},
        {"edPDLog", "Логи в RS485", "unchecked"},
        {"edPdShowErr", "Уведомление неисправности", "unchecked"},
        {"edPdUb", "Установить Ub", "12.9"},
        {"edPdDir", "Направление ПД", "EAST"},
        {"edPdMic", "Микрофона, %", "0"},
        {"cbPdMic", "Включение микрофона", "Без фиксации"},
        {"cbUSBMode", "Режим USB", "USB Flash"},
        {"cbPdAruEnable", "Включено", "unchecked"},
        {"cbPdAruSpdEnable", "Детектор речи", "unchecked"},
        {"cbPdEchoType", "Тип", "Выключено"},
        {"edPdEchoLevel2", "Время запаздывания, мс", "0"},
    };
    ExpectShows(window, rows, std::size(rows));
}

TEST(TfrReadParamsBc, ShowsEveryBcValueInItsControl)
{
    BcUnit r{};
    r.adr = 241;
    r.rss = 9600;
    r.rsl = true;
    std::strcpy(r.nam, "БС Лестница №2");
    r.ubw = 12.99f;
    r.ube = 0.5f;
    r.byp = true;
    r.drw = true;
    r.pad = 251;
    r.pas = 253;
    r.ene = true;
    r.enw = true;

    TfrReadParamsBc window;
    window.Fill(r);
    EXPECT_EQ(window.windowTitle(), QString::fromUtf8("Полученные данные с БС"));
    const FieldRow rows[] = {
        {"edBcAddr", "Адрес  БС в сети (238...249)", "241"},
        {"cbBcRsSpeed", "Скорость RS485", "9600"},
        {"cbBcLog", "Логи в RS485", "checked"},
        {"edBcName", "Описание БС (64 символа)", "БС Лестница №2"},
        {"edBcUbWest", "Установить Ub, WEST", "12.9"},
        {"edBcUbEast", "Установить Ub, EAST", "0.5"},
        {"cbBypass", "Режим BYPASS", "checked"},
        {"cbBcDir", "Направление ведущего ПД", "WEST"},
        {"edBcMasterAddr", "Адрес ведущего ПД", "251"},
        {"edBcSlaveAddr", "Адрес ведомого ПД", "253"},
    };
    ExpectShows(window, rows, std::size(rows));

    BcUnit cleared{};
    window.Fill(cleared);
    const FieldRow refilled[] = {
        {"edBcName", "Описание БС (64 символа)", ""},
        {"cbBcLog", "Логи в RS485", "unchecked"},
        {"cbBypass", "Режим BYPASS", "unchecked"},
        {"cbBcDir", "Направление ведущего ПД", "EAST"},
    };
    ExpectShows(window, refilled, std::size(refilled));
}

TEST(TfrReadParamsZone, ShowsEveryAlValueInItsControl)
{
    AlLine r{};
    r.prt = 7;
    r.num = 40000;
    r.adr = 240;
    std::strcpy(r.nam, "Зона 5");
    r.uvp = 1.25f;
    r.ukn = 7.0f;
    r.tuv = 16.0f;
    r.tuk = 0.5f;
    r.usp = 12.99f;
    r.mic = 10;
    r.spk = 1024;
    r.sps = 300;
    r.etp = 1;
    r.el1 = 100;
    r.el2 = 200;

    TfrReadParamsZone window;
    window.Fill(r);
    EXPECT_EQ(window.windowTitle(), QString::fromUtf8("Прочитанные данные с АЛ"));
    const FieldRow rows[] = {
        {"edAlNumber", "Номер АЛ", "7"},
        {"edAlZone", "Номер зоны", "40000"},
        {"edAlName", "Описание зоны (64 символа)", "Зона 5"},
        {"edAlUvp", "ВП подключено, Uvp", "1.2"},
        {"edAlUk", "ВП нажата кнопка, Uk", "7.0"},
        {"edAlTUvp", "ВП подключено, Utvp", "16.0"},
        {"edAlTUk", "ВП нажата кнопка, Utk", "0.5"},
        {"edAlUsp", "ВП динамик, Usp", "12.9"},
        {"edAlMic", "Микрофона, %", "10"},
        {"edAlSpk", "Динамика, %", "1024"},
        {"edAlSig", "Служебных сигналов, %", "300"},
        {"cbAlEchoType", "Тип", "Динамик"},
        {"edAlEchoLevel1", "Время срабатывания, мс", "100"},
        {"edAlEchoLevel2", "Время запаздывания, мс", "200"},
    };
    ExpectShows(window, rows, std::size(rows));

    r.etp = 0;
    r.prt = 16;
    window.Fill(r);
    const FieldRow refilled[] = {
        {"edAlNumber", "Номер АЛ", "16"},
        {"cbAlEchoType", "Тип", "Выключено"},
    };
    ExpectShows(window, refilled, std::size(refilled));
}

TEST(TfrReadParamsNotify, ShowsTheScenarioWithDateToTheMinute)
{
    NotifyScenario r{};
    r.num = 3;
    r.nte = true;
    r.zon = 1234;
    std::strcpy(r.wav, "привет.wav");
    r.per = 5;
    r.cnt = 200;
    r.dtm.year = 2024;
    r.dtm.month = 12;
    r.dtm.day = 31;
    r.dtm.hour = 23;
    r.dtm.minute = 59;
    r.dtm.second = 58;

    TfrReadParamsNotify window;
    window.Fill(r);
    EXPECT_EQ(window.windowTitle(), QString::fromUtf8("Данный сценария"));
    const FieldRow rows[] = {
        {"cbNotifyEnable", "Включено", "checked"},
        {"edZoneNum", "Номер зоны", "1234"},
        {"edFileName", "Имя файла", "привет.wav"},
        {"edDateTime", "Дата и время", "2024-12-31 23:59"},
        {"edPeriod", "Период повторов", "5"},
        {"edCount", "Количество повторов", "200"},
    };
    ExpectShows(window, rows, std::size(rows));

    r.nte = false;
    r.wav[0] = '\0';
    window.Fill(r);
    const FieldRow refilled[] = {
        {"cbNotifyEnable", "Включено", "unchecked"},
        {"edFileName", "Имя файла", ""},
    };
    ExpectShows(window, refilled, std::size(refilled));
}

// The buttons behave alike in all four windows.
struct WindowCase {
    const char *name;
    std::function<std::unique_ptr<ReadBackWindow>()> make;
};

const WindowCase kWindows[] = {
    {"pd", [] { return std::make_unique<TfrReadParams>(); }},
    {"bc", [] { return std::make_unique<TfrReadParamsBc>(); }},
    {"al", [] { return std::make_unique<TfrReadParamsZone>(); }},
    {"notify", [] { return std::make_unique<TfrReadParamsNotify>(); }},
};

QPushButton *Button(QWidget &window, const char *name)
{
    return window.findChild<QPushButton *>(QString::fromLatin1(name));
}

TEST(CompareWindowButtons, CopyAsksOnceThenHides)
{
    for (const WindowCase &c : kWindows) {
        SCOPED_TRACE(c.name);
        auto window = c.make();
        QPushButton *copy = Button(*window, "btCopy");
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(copy->text(), QString::fromUtf8("&Скопировать данные в проект"));
        EXPECT_TRUE(copy->isEnabled());

        window->show();
        int copies = 0;
        bool visibleDuringCopy = false;
        QObject::connect(window.get(), &ReadBackWindow::copyRequested, [&] {
            ++copies;
            visibleDuringCopy = window->isVisible();
        });
        copy->click();
        EXPECT_EQ(copies, 1);
        EXPECT_TRUE(visibleDuringCopy) << "the copy handler may still look at the window";
        EXPECT_FALSE(window->isVisible());
    }
}

TEST(CompareWindowButtons, CancelHidesWithoutCopying)
{
    for (const WindowCase &c : kWindows) {
        SCOPED_TRACE(c.name);
        auto window = c.make();
        QPushButton *cancel = Button(*window, "btCancel");
        ASSERT_NE(cancel, nullptr);
        EXPECT_EQ(cancel->text(), QString::fromUtf8("&Отмена"));

        window->show();
        int copies = 0;
        QObject::connect(window.get(), &ReadBackWindow::copyRequested, [&] { ++copies; });
        cancel->click();
        EXPECT_EQ(copies, 0);
        EXPECT_FALSE(window->isVisible());
        EXPECT_FALSE(window->isModal()) << "the user keeps working in the main window";
    }
}

}  // namespace
