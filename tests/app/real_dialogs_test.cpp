// A few runs through the real dialogs: the input dialog and Russian message box buttons.
#include "app_fixture.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QTest>
#include <QMessageBox>
#include <QTimer>
#include <functional>

#include "TfrInputVal.h"

namespace {
// Runs `act` on the modal dialog once it is up (polled, so no fixed sleep).
void whenModal(std::function<void(QWidget *)> act) {
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (QWidget *w = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            act(w);
        }
    });
    timer->start();
}

class RealDialogs : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        main().SetDialogs(nullptr);
    }
};

TEST_F(RealDialogs, InputValueClosedByFrameCancels) {
    whenModal([](QWidget *w) { w->close(); });
    EXPECT_EQ(main().InputValue("Введите название проекта", "x"), "INPUTVAL_CANCEL");
}

TEST_F(RealDialogs, InputValueOkReturnsTextEvenEmpty) {
    QString prompt;
    whenModal([&](QWidget *w) {
        prompt = w->findChild<QLabel *>("lbVal")->text();
        EXPECT_EQ(w->windowTitle(), "Значение");
        EXPECT_EQ(w->findChild<QLineEdit *>("edVal")->text(), "старое");
        w->findChild<QLineEdit *>("edVal")->clear();
        w->findChild<QPushButton *>("btOk")->click();
    });
    EXPECT_EQ(main().InputValue("Подсказка", "старое"), "");
    EXPECT_EQ(prompt, "Подсказка");
}

TEST_F(RealDialogs, EnterDoesNotPressOk) {
    whenModal([](QWidget *w) {
        auto *edit = w->findChild<QLineEdit *>("edVal");
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_TRUE(w->isVisible()) << "Enter must not accept";
        edit->setText("typed");
        w->findChild<QPushButton *>("btOk")->click();
    });
    EXPECT_EQ(main().InputValue("p", ""), "typed");
}

TEST_F(RealDialogs, SaveQuestionHasRussianButtonsAndNoGoesOn) {
    m_dialogs.input("Проект");
    main().SetDialogs(&m_dialogs);
    main().miNewClick();
    main().SetDialogs(nullptr);
    QStringList buttons;
    QString text, caption;
    whenModal([&](QWidget *w) {
        auto *box = qobject_cast<QMessageBox *>(w);
        ASSERT_NE(box, nullptr);
        caption = box->windowTitle();
        text = box->text();
        for (QAbstractButton *b : box->buttons())
            buttons << b->text().remove('&');
        box->button(QMessageBox::No)->click();
    });
    main().miCloseProjectClick();
    EXPECT_EQ(caption, "TALVIK ПД БС Конфигуратор");
    EXPECT_EQ(text, "Сохранить изменения ?");
    buttons.sort();
    EXPECT_EQ(buttons, (QStringList{"Да", "Нет"}));
    EXPECT_FALSE(main().IsProjectOpen());
}

TEST_F(RealDialogs, AboutShowsTitleAndVersion) {
    QString text;
    whenModal([&](QWidget *w) {
        auto *box = qobject_cast<QMessageBox *>(w);
        ASSERT_NE(box, nullptr);
        text = box->text();
        box->button(QMessageBox::Ok)->click();
    });
    main().miAboutClick();
    EXPECT_TRUE(text.startsWith("Программа: TALVIK ПД БС Конфигуратор\r\nВерсия: ")) << text.toStdString();
}
} // namespace
