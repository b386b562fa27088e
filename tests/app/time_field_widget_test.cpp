#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QtTest>

#include "spin_buttons.h"
#include "support/recording_messenger.h"
#include "time_field_widget.h"

using verbanta::app::SpinButtons;
using verbanta::app::TimeFieldWidget;
using verbanta::test::RecordingMessenger;

namespace {

/// A field in a window of its own, with a second control to move the focus to.
struct Window {
    RecordingMessenger messenger;
    QWidget window;
    TimeFieldWidget* field = new TimeFieldWidget(messenger, &window);
    QLineEdit* other = new QLineEdit(&window);

    Window()
    {
        other->move(0, 40);
        window.show();
        window.activateWindow();
        field->setFocus();
        QApplication::processEvents();
    }
};

}  // namespace

class TimeFieldWidgetTest : public QObject {
    Q_OBJECT
private slots:
    void millisecondsModeTakesDigitsAndALeadingMinusOnly()
    {
        Window w;
        w.field->setRange(-1000, 100000);
        QSignalSpy values(w.field, &TimeFieldWidget::valueAccepted);
        w.field->selectAll();
        QTest::keyClicks(w.field, QStringLiteral("12a3"));
        QCOMPARE(w.field->text(), QStringLiteral("123"));
        QCOMPARE(w.field->value(), 123);
        QCOMPARE(values.last()[0].toInt(), 123);
        // "-" is refused anywhere but first.
        QTest::keyClick(w.field, Qt::Key_Minus);
        QCOMPARE(w.field->text(), QStringLiteral("123"));
        QTest::keyClick(w.field, Qt::Key_Home);
        QTest::keyClick(w.field, Qt::Key_Minus);
        QCOMPARE(w.field->text(), QStringLiteral("-123"));
        QCOMPARE(w.field->value(), -123);
        QTest::keyClick(w.field, Qt::Key_End);
        QTest::keyClick(w.field, Qt::Key_Backspace);
        QCOMPARE(w.field->value(), -12);
    }

    void aValueAboveTheMaximumShowsTheMessageAndRecovers()
    {
        Window w;
        w.field->setRange(0, 100000);
        w.field->selectAll();
        QTest::keyClicks(w.field, QStringLiteral("100001"));
        QCOMPARE(w.messenger.shown.size(), std::size_t(1));
        QCOMPARE(w.messenger.shown[0].text, std::string("100000 보다 큰 값은 입력할 수 없습니다 "));
        QCOMPARE(w.messenger.shown[0].icon, verbanta::MessageIcon::Error);
        QCOMPARE(w.field->text(), QStringLiteral("0"));
        QCOMPARE(w.field->value(), 0);
        QCOMPARE(w.field->selectedText(), QStringLiteral("0"));
    }

    void aValueBelowTheMinimumShowsItsMessage()
    {
        Window w;
        w.field->setRange(-500, 1000);
        w.field->selectAll();
        QTest::keyClicks(w.field, QStringLiteral("-501"));
        QCOMPARE(w.messenger.shown.size(), std::size_t(1));
        QCOMPARE(w.messenger.shown[0].text, std::string("-500 보다 작은 값은 입력할 수 없습니다 "));
        QCOMPARE(w.field->text(), QStringLiteral("0"));
    }

    void leavingTheFieldEmptyAsksForAValue()
    {
        Window w;
        w.field->selectAll();
        QTest::keyClick(w.field, Qt::Key_Backspace);
        QCOMPARE(w.field->text(), QString());
        w.other->setFocus();
        QTRY_COMPARE(w.messenger.shown.size(), std::size_t(1));
        QCOMPARE(w.messenger.shown[0].text, std::string("값을 입력해 주십시요"));
        QCOMPARE(w.field->text(), QStringLiteral("0"));
        QTRY_VERIFY(w.field->hasFocus());
    }

    void timeModeOverwritesPositionByPosition()
    {
        Window w;
        w.field->setRange(0, 18000000);
        QVERIFY(w.field->setMode(1));
        QCOMPARE(w.field->text(), QStringLiteral(" 0:00:00.000"));
        // Position 3 takes only 0..5: "7" is refused.
        w.field->setCursorPosition(3);
        QTest::keyClick(w.field, Qt::Key_7);
        QCOMPARE(w.field->text(), QStringLiteral(" 0:00:00.000"));
        QTest::keyClick(w.field, Qt::Key_2);
        QCOMPARE(w.field->text(), QStringLiteral(" 0:20:00.000"));
        QCOMPARE(w.field->value(), 1200000);
        // The caret never rests after the last character.
        QTest::keyClick(w.field, Qt::Key_End);
        QCOMPARE(w.field->cursorPosition(), 11);
        QVERIFY(!w.field->setValue(18000001));
        QVERIFY(w.field->setValue(18000000));
        QCOMPARE(w.field->text(), QStringLiteral(" 5:00:00.000"));
    }

    void modesOtherThanTheTwoAreRefused()
    {
        Window w;
        QVERIFY(!w.field->setMode(2));
        QCOMPARE(w.field->mode(), 0);
    }

    void clickingIntoTheUnfocusedFieldSelectsAll()
    {
        Window w;
        w.field->setValue(4321);
        w.other->setFocus();
        QApplication::processEvents();
        QTest::mouseClick(w.field, Qt::LeftButton, {}, QPoint(5, w.field->height() / 2));
        QCOMPARE(w.field->selectedText(), QStringLiteral("4321"));
    }

    void altEnterAsksToRegisterAndTheArrowsStep()
    {
        Window w;
        QSignalSpy registers(w.field, &TimeFieldWidget::registerRequested);
        QSignalSpy steps(w.field, &TimeFieldWidget::stepRequested);
        QTest::keyClick(w.field, Qt::Key_Return, Qt::AltModifier);
        QTest::keyClick(w.field, Qt::Key_Up);
        QTest::keyClick(w.field, Qt::Key_Down);
        QCOMPARE(registers.count(), 1);
        QCOMPARE(steps.count(), 2);
        QCOMPARE(steps[0][0].toInt(), 1);
        QCOMPARE(steps[1][0].toInt(), -1);
    }

    void pasteFollowsTheTypingRules()
    {
        Window w;
        w.field->setRange(0, 1000);
        w.field->selectAll();
        QApplication::clipboard()->setText(QStringLiteral("12x"));
        w.field->pasteText();
        QCOMPARE(w.field->text(), QStringLiteral("0"));
        QApplication::clipboard()->setText(QStringLiteral("750"));
        w.field->selectAll();
        w.field->pasteText();
        QCOMPARE(w.field->value(), 750);
    }

    void heldSpinArrowsAccelerateOneTwoFive()
    {
        QCOMPARE(SpinButtons::stepsAfter(0), 1);
        QCOMPARE(SpinButtons::stepsAfter(1999), 1);
        QCOMPARE(SpinButtons::stepsAfter(2000), 2);
        QCOMPARE(SpinButtons::stepsAfter(4999), 2);
        QCOMPARE(SpinButtons::stepsAfter(5000), 5);
        QCOMPARE(SpinButtons::stepsAfter(60000), 5);
    }

    void aSpinClickStepsOnce()
    {
        SpinButtons spin;
        spin.resize(16, 30);
        spin.show();
        QSignalSpy stepped(&spin, &SpinButtons::stepped);
        QTest::mouseClick(spin.childAt(8, 4), Qt::LeftButton);
        QTest::mouseClick(spin.childAt(8, 26), Qt::LeftButton);
        QCOMPARE(stepped.count(), 2);
        QCOMPARE(stepped[0][0].toInt(), 1);
        QCOMPARE(stepped[1][0].toInt(), -1);
    }
};

QTEST_MAIN(TimeFieldWidgetTest)
#include "time_field_widget_test.moc"
