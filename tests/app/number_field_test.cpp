#include <QApplication>
#include <QClipboard>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

#include "dialogs/number_field.h"
#include "dialogs/number_field_rules.h"
#include "spin_buttons.h"
#include "support/recording_messenger.h"

using verbanta::app::NumberField;
using verbanta::app::NumberFieldRules;
using verbanta::app::NumberSpinBox;
using verbanta::app::SpinButtons;

namespace {

/// A window holding one number field and a button to move the focus to.
struct FieldWindow {
    verbanta::test::RecordingMessenger messenger;
    QWidget window;
    NumberSpinBox* box;
    QPushButton* other;
    QPushButton* discard;
    QList<std::int32_t> reported;

    FieldWindow(NumberFieldRules rules, std::int32_t step = 100, bool accelerate = true)
    {
        box = new NumberSpinBox(messenger, rules, step, accelerate, &window);
        other = new QPushButton(QStringLiteral("other"), &window);
        discard = new QPushButton(QStringLiteral("취소"), &window);
        discard->setProperty(NumberField::kDiscardsProperty, true);
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(box);
        layout->addWidget(other);
        layout->addWidget(discard);
        QObject::connect(&field(), &NumberField::valueEdited,
                         [this](std::int32_t v) { reported << v; });
        window.show();
        window.activateWindow();
        (void)QTest::qWaitForWindowActive(&window);
        field().setFocus();
        QApplication::processEvents();
    }
    NumberField& field() const { return box->field(); }
    QString lastMessage() const
    {
        return messenger.shown.empty() ? QString()
                                       : QString::fromStdString(messenger.shown.back().text);
    }
    /// Replaces the whole text by typing.
    void type(const QString& text)
    {
        field().selectAll();
        QTest::keyClicks(&field(), text);
    }
};

QString text(const std::optional<std::string>& message)
{
    return message ? QString::fromStdString(*message) : QString();
}

}  // namespace

class NumberFieldTest : public QObject {
    Q_OBJECT

private slots:
    void rulesTakeDigitsAndAMinusOnlyWhereTheRangeGoesBelowZero()
    {
        const NumberFieldRules positive(0, 100000, 100);
        const NumberFieldRules signedRange(-10000, 100000, 0);
        QVERIFY(positive.acceptsCharacter(U'0') && positive.acceptsCharacter(U'9'));
        QVERIFY(!positive.acceptsCharacter(U'-'));
        QVERIFY(signedRange.acceptsCharacter(U'-'));
        for (const char32_t c : {U'a', U'+', U' ', U'.', U'١', U'가'})
            QVERIFY(!signedRange.acceptsCharacter(c));
        QVERIFY(positive.acceptsText("0123"));
        QVERIFY(!positive.acceptsText("12a"));
        QVERIFY(!positive.acceptsText("-1"));
        QVERIFY(signedRange.acceptsText("-1"));
    }

    void rulesJudgeEveryChange()
    {
        const NumberFieldRules rules(-10000, 100000, 0);
        QCOMPARE(rules.changed("250").value, 250);
        QCOMPARE(rules.changed("-250").value, -250);
        QCOMPARE(rules.changed("007").value, 7);
        // Texts that typing may still complete are left for the check on leaving.
        QVERIFY(!rules.changed("").value && !rules.changed("").message);
        QVERIFY(!rules.changed("-").value && !rules.changed("-").message);
        QCOMPARE(text(rules.changed("1-").message),
                 QStringLiteral("정상적인 숫자를 입력해 주십시요 "));
        QCOMPARE(text(rules.changed("--1").message),
                 QStringLiteral("정상적인 숫자를 입력해 주십시요 "));
        QCOMPARE(text(rules.changed("100001").message),
                 QStringLiteral("100000 보다 큰 값은 입력할 수 없습니다 "));
        QCOMPARE(text(rules.changed("-10001").message),
                 QStringLiteral("-10000 보다 작은 값은 입력할 수 없습니다 "));
        // Far too many digits saturate instead of wrapping round into the range.
        QCOMPARE(text(rules.changed("99999999999999999999999999").message),
                 QStringLiteral("100000 보다 큰 값은 입력할 수 없습니다 "));
        QCOMPARE(text(rules.changed("-4294967296").message),
                 QStringLiteral("-10000 보다 작은 값은 입력할 수 없습니다 "));
        QCOMPARE(rules.changed("100000").value, 100000);
        QCOMPARE(rules.changed("-10000").value, -10000);
    }

    void aValueBelowTheMinimumWaitsOnlyWhileMoreDigitsCanReachTheRange()
    {
        const NumberFieldRules size(10, 40, 14);
        // "2" may become 25; "5" can only become 50 or more.
        for (const char* pending : {"1", "2", "3", "4", "0"}) {
            const NumberFieldRules::Verdict v = size.changed(pending);
            QVERIFY2(!v.value && !v.message, pending);
        }
        QCOMPARE(text(size.changed("5").message),
                 QStringLiteral("10 보다 작은 값은 입력할 수 없습니다 "));
        QCOMPARE(text(size.changed("41").message),
                 QStringLiteral("40 보다 큰 값은 입력할 수 없습니다 "));
        QCOMPARE(size.changed("25").value, 25);
        // Leaving the field with such a value refuses it.
        QCOMPARE(text(size.left("2", true).message),
                 QStringLiteral("10 보다 작은 값은 입력할 수 없습니다 "));
    }

    void leavingJudgesOnlyWhatTheUserTyped()
    {
        const NumberFieldRules rules(-10000, 100000, 0);
        QCOMPARE(text(rules.left("", true).message), QStringLiteral("값을 입력해 주십시요 "));
        QCOMPARE(text(rules.left("", false).message), QStringLiteral("값을 입력해 주십시요 "));
        QCOMPARE(text(rules.left("-", true).message),
                 QStringLiteral("정상적인 숫자를 입력해 주십시요 "));
        QVERIFY(!rules.left("12", true).message);
        // A stored value out of range is used as read until it is edited.
        QVERIFY(!rules.left("500000", false).message);
        QVERIFY(rules.left("500000", true).message);
    }

    void typingRefusesOtherKeysAndReportsValues()
    {
        FieldWindow w(NumberFieldRules(0, 100000, 100));
        w.field().setValue(5000);
        w.type(QStringLiteral("12a3"));
        QCOMPARE(w.field().text(), QStringLiteral("123"));
        QCOMPARE(w.field().value(), 123);
        QCOMPARE(w.reported.last(), 123);
        QTest::keyClicks(&w.field(), QStringLiteral("-"));
        QCOMPARE(w.field().text(), QStringLiteral("123"));
        QVERIFY(w.messenger.shown.empty());
    }

    void aValueAboveTheMaximumReturnsToTheFallbackSelected()
    {
        // The video step: one above the maximum says so and goes back to 5000.
        FieldWindow w(NumberFieldRules(0, 100000, 5000));
        w.field().setValue(1234);
        w.type(QStringLiteral("100001"));
        QCOMPARE(w.lastMessage(), QStringLiteral("100000 보다 큰 값은 입력할 수 없습니다 "));
        QCOMPARE(w.messenger.shown.back().icon, verbanta::MessageIcon::Error);
        QCOMPARE(w.field().text(), QStringLiteral("5000"));
        QCOMPARE(w.field().value(), 5000);
        QCOMPARE(w.reported.last(), 5000);
        QVERIFY(w.field().hasFocus());
        QCOMPARE(w.field().selectedText(), QStringLiteral("5000"));
    }

    void aMinusAfterTheFirstCharacterIsMalformed()
    {
        FieldWindow w(NumberFieldRules(-10000, 100000, 0));
        w.field().setValue(300);
        w.type(QStringLiteral("-5"));
        QCOMPARE(w.field().value(), -5);
        QVERIFY(w.messenger.shown.empty());
        w.type(QStringLiteral("5-"));
        QCOMPARE(w.lastMessage(), QStringLiteral("정상적인 숫자를 입력해 주십시요 "));
        QCOMPARE(w.field().text(), QStringLiteral("0"));
    }

    void leavingAnEmptyFieldAsksForAValue()
    {
        FieldWindow w(NumberFieldRules(0, 1000, 200));
        w.field().setValue(450);
        w.field().selectAll();
        QTest::keyClick(&w.field(), Qt::Key_Backspace);
        QCOMPARE(w.field().text(), QString());
        QVERIFY(w.messenger.shown.empty());
        w.other->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(w.messenger.shown.size(), std::size_t{1});
        QCOMPARE(w.lastMessage(), QStringLiteral("값을 입력해 주십시요 "));
        QCOMPARE(w.field().text(), QStringLiteral("200"));
        QVERIFY(w.field().hasFocus());
    }

    void leavingALoneMinusIsMalformed()
    {
        FieldWindow w(NumberFieldRules(-10000, 100000, 0));
        w.type(QStringLiteral("-"));
        QVERIFY(w.messenger.shown.empty());
        QVERIFY(!w.field().entryAcceptable());
        QVERIFY(!w.field().checkEntry());
        QCOMPARE(w.lastMessage(), QStringLiteral("정상적인 숫자를 입력해 주십시요 "));
        QCOMPARE(w.field().text(), QStringLiteral("0"));
        QVERIFY(w.field().entryAcceptable());
    }

    void leavingForADiscardingButtonJudgesNothing()
    {
        FieldWindow w(NumberFieldRules(0, 1000, 200));
        w.field().selectAll();
        QTest::keyClick(&w.field(), Qt::Key_Delete);
        w.discard->setFocus(Qt::MouseFocusReason);
        QTest::qWait(20);
        QVERIFY(w.messenger.shown.empty());
    }

    void pastedTextMustBeDigits()
    {
        FieldWindow w(NumberFieldRules(0, 100000, 100));
        w.field().setValue(100);
        w.field().selectAll();
        QApplication::clipboard()->setText(QStringLiteral("12ab"));
        w.field().paste();
        QCOMPARE(w.field().text(), QStringLiteral("100"));
        QApplication::clipboard()->setText(QStringLiteral("777"));
        w.field().selectAll();
        w.field().paste();
        QCOMPARE(w.field().text(), QStringLiteral("777"));
        QCOMPARE(w.field().value(), 777);
    }

    void aClickIntoTheUnfocusedFieldSelectsItAll()
    {
        FieldWindow w(NumberFieldRules(0, 100000, 100));
        w.field().setValue(12345);
        w.other->setFocus();
        QApplication::processEvents();
        QTest::mouseClick(&w.field(), Qt::LeftButton, {}, QPoint(5, w.field().height() / 2));
        QVERIFY(w.field().hasFocus());
        QCOMPARE(w.field().selectedText(), QStringLiteral("12345"));
        // A second click in the focused field places the caret as usual.
        QTest::mouseClick(&w.field(), Qt::LeftButton, {}, QPoint(5, w.field().height() / 2));
        QCOMPARE(w.field().selectedText(), QString());
    }

    void spinnersStepAndAccelerateWithinTheRange()
    {
        FieldWindow w(NumberFieldRules(0, 1000, 200));
        w.field().setValue(200);
        // SpinButtons reports 1, 2 and 5 steps as an arrow is held: 100, 200 and 500 ms.
        w.field().stepBy(1);
        QCOMPARE(w.field().value(), 300);
        w.field().stepBy(SpinButtons::stepsAfter(2500));
        QCOMPARE(w.field().value(), 500);
        w.field().stepBy(SpinButtons::stepsAfter(6000));
        QCOMPARE(w.field().value(), 1000);
        w.field().stepBy(5);
        QCOMPARE(w.field().value(), 1000);  // held at the maximum, no message
        QCOMPARE(w.field().text(), QStringLiteral("1000"));
        w.field().stepBy(-5);
        QCOMPARE(w.field().value(), 500);
        QTest::keyClick(&w.field(), Qt::Key_Down);
        QCOMPARE(w.field().value(), 400);
        QCOMPARE(w.reported.last(), 400);
        QVERIFY(w.messenger.shown.empty());
    }

    void unacceleratedSpinnersStepByOne()
    {
        FieldWindow w(NumberFieldRules(0, 40, 0), 1, false);
        w.field().setValue(39);
        w.field().stepBy(5);
        QCOMPARE(w.field().value(), 40);
        w.field().stepBy(-2);
        QCOMPARE(w.field().value(), 39);
        // A text still being typed is stepped from what it says when it is a value.
        w.field().setValue(0);
        w.field().selectAll();
        QTest::keyClicks(&w.field(), QStringLiteral("12"));
        w.field().stepBy(1);
        QCOMPARE(w.field().value(), 13);
    }

    void aStoredValueOutOfRangeStaysUntilEdited()
    {
        FieldWindow w(NumberFieldRules(0, 40, 0));
        w.field().setValue(100);
        QCOMPARE(w.field().text(), QStringLiteral("100"));
        QVERIFY(w.field().entryAcceptable());
        w.other->setFocus(Qt::TabFocusReason);
        QTest::qWait(20);
        QVERIFY(w.messenger.shown.empty());
        QCOMPARE(w.field().value(), 100);
    }
};

QTEST_MAIN(NumberFieldTest)
#include "number_field_test.moc"
