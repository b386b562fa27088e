#include <QApplication>
#include <QColorDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <set>
#include <string>

#include "dialog_test_support.h"
#include "dialogs/colour_picker.h"
#include "dialogs/colour_picker_palette.h"

using verbanta::app::CColourPicker;
using verbanta::app::ColourPalettePopup;
using verbanta::app::formatColourText;
using verbanta::app::kColourPalette;
using verbanta::app::paletteIndexOf;
using verbanta::app::parseColourText;

namespace {

QPushButton* popupButton(ColourPalettePopup& popup, const char* text)
{
    return verbanta::test::button(popup, QString::fromUtf8(text));
}

/// Answers the colour chooser once it opens: picks `colour`, or cancels for an invalid one.
void answerChooser(const QColor& colour, bool* seen)
{
    QTimer::singleShot(50, [colour, seen] {
        auto* chooser = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
        *seen = chooser != nullptr;
        if (!chooser)
            return;
        if (colour.isValid()) {
            chooser->setCurrentColor(colour);
            chooser->accept();
        } else {
            chooser->reject();
        }
    });
}

}  // namespace

class ColourPickerTest : public QObject {
    Q_OBJECT

private slots:
    void thePaletteHasFortyDistinctNamesInItsOrder()
    {
        QCOMPARE(kColourPalette.size(), std::size_t{40});
        std::set<std::string> names;
        for (const auto& entry : kColourPalette) names.insert(entry.name);
        QCOMPARE(names.size(), std::size_t{40});
        QCOMPARE(std::string(kColourPalette[0].name), std::string("Black"));
        QCOMPARE(std::string(kColourPalette[9].name), std::string("Orange"));
        QCOMPARE(std::string(kColourPalette[35].name), std::string("Pale green "));
        QCOMPARE(std::string(kColourPalette[39].name), std::string("White"));
        QCOMPARE(paletteIndexOf(0xFF6820), 9);
        QCOMPARE(paletteIndexOf(0x123456), -1);
    }

    void textsAreNamesOrSixHexDigits()
    {
        QCOMPARE(parseColourText("Orange"), std::optional<std::uint32_t>(0xFF6820));
        QCOMPARE(parseColourText("oRANGE"), std::optional<std::uint32_t>(0xFF6820));
        QCOMPARE(parseColourText("#FF6820"), std::optional<std::uint32_t>(0xFF6820));
        QCOMPARE(parseColourText("#ff6820"), std::optional<std::uint32_t>(0xFF6820));
        QCOMPARE(parseColourText("pale green "), std::optional<std::uint32_t>(0x98FB98));
        QCOMPARE(parseColourText("grey - 50"), std::optional<std::uint32_t>(0x7F7F7F));
        for (const char* bad : {"", "#", "#FFF", "#FF68200", "#GG0000", "FF6820", "chartreuse",
                                "Pale green", " Orange", "#-12345"})
            QVERIFY2(!parseColourText(bad), bad);
    }

    void coloursAreWrittenAsUpperCaseHex()
    {
        QCOMPARE(formatColourText(0xFF6820), std::string("#FF6820"));
        QCOMPARE(formatColourText(0x00000B), std::string("#00000B"));
        QCOMPARE(formatColourText(0xFFFFFF), std::string("#FFFFFF"));
        for (const auto& entry : kColourPalette)
            QCOMPARE(parseColourText(formatColourText(entry.rgb)),
                     std::optional<std::uint32_t>(entry.rgb));
    }

    void theButtonShowsANamedOrWrittenColourAndFallsBackToItsDefault()
    {
        CColourPicker picker(Qt::white);
        QVERIFY(picker.setColourText("Orange"));
        QCOMPARE(picker.colourText(), QStringLiteral("#FF6820"));
        QCOMPARE(picker.toolTip(), QStringLiteral("Orange"));
        QVERIFY(picker.setColourText("#123456"));
        QCOMPARE(picker.toolTip(), QStringLiteral("#123456"));
        QVERIFY(!picker.setColourText("no such colour"));
        QCOMPARE(picker.colour(), QColor(Qt::white));
        // The named and the written form of one colour show the same colour.
        CColourPicker named(Qt::black);
        CColourPicker written(Qt::black);
        named.setColourText("white");
        written.setColourText("#FFFFFF");
        QCOMPARE(named.colour(), written.colour());
        QCOMPARE(named.colourText(), QStringLiteral("#FFFFFF"));
    }

    void thePaletteListsEveryColourWithItsNameAsTooltip()
    {
        CColourPicker picker(Qt::white);
        picker.show();
        picker.setColourText("Gold");
        ColourPalettePopup* popup = picker.showPalette();
        QVERIFY(popup->isVisible());
        const QList<QToolButton*> buttons = popup->colourButtons();
        QCOMPARE(buttons.size(), 40);
        for (int i = 0; i < 40; ++i)
            QCOMPARE(buttons[i]->toolTip(), QString::fromLatin1(kColourPalette[i].name));
        // The current colour is marked.
        QVERIFY(buttons[25]->isChecked());
        QVERIFY(!buttons[24]->isChecked());
        QVERIFY(popupButton(*popup, "기본 설정"));
        QVERIFY(popupButton(*popup, "사용자 지정..."));
        verbanta::test::shoot(*popup, "colour_palette");
        popup->close();
    }

    void pickingFromThePaletteStoresTheColourAndTellsTheOwner()
    {
        CColourPicker picker(Qt::white);
        picker.show();
        QSignalSpy picked(&picker, &CColourPicker::colourPicked);
        QPointer<ColourPalettePopup> popup = picker.showPalette();
        popup->colourButtons()[9]->click();  // Orange
        QCOMPARE(picked.size(), 1);
        QCOMPARE(picker.colourText(), QStringLiteral("#FF6820"));
        QTRY_VERIFY(popup.isNull());

        popup = picker.showPalette();
        popupButton(*popup, "기본 설정")->click();
        QCOMPARE(picked.size(), 2);
        QCOMPARE(picker.colour(), QColor(Qt::white));
    }

    void theCustomButtonOpensTheColourChooser()
    {
        CColourPicker picker(Qt::black);
        picker.show();
        QSignalSpy picked(&picker, &CColourPicker::colourPicked);
        bool seen = false;
        answerChooser(QColor(0x12, 0x34, 0x56), &seen);
        ColourPalettePopup* popup = picker.showPalette();
        popupButton(*popup, "사용자 지정...")->click();
        QTRY_COMPARE(picked.size(), 1);
        QVERIFY(seen);
        QCOMPARE(picker.colourText(), QStringLiteral("#123456"));

        // Cancelling the chooser keeps the colour and tells nobody.
        seen = false;
        answerChooser(QColor(), &seen);
        picker.chooseCustom();
        QVERIFY(seen);
        QCOMPARE(picked.size(), 1);
        QCOMPARE(picker.colourText(), QStringLiteral("#123456"));
    }
};

QTEST_MAIN(ColourPickerTest)
#include "colour_picker_test.moc"
