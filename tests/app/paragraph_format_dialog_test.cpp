#include <QComboBox>
#include <QLineEdit>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <QtTest>

#include <string>

#include "commands/command_dispatcher.h"
#include "commands/command_ids.h"
#include "dialogs/colour_picker.h"
#include "dialogs/number_field.h"
#include "dialogs/paragraph_format_dialog.h"
#include "frame_fixture.h"
#include "sami/sami_writer.h"
#include "support/cp949.h"
#include "support/recording_messenger.h"

using verbanta::ParagraphStyle;
using verbanta::SamiModel;
using verbanta::app::ParagraphFormatDialog;
using verbanta::test::cp949;

namespace {

/// A file whose P rule is the given rule body.
std::string fileWithRule(const std::string& rule)
{
    return cp949(
        "<SAMI>\r\n<HEAD>\r\n<TITLE>원래 제목</TITLE>\r\n<STYLE TYPE=\"text/css\">\r\n"
        "<!--\r\nP { " +
        rule +
        " }\r\n"
        ".KRCC { Name:한국어; lang:ko-KR; SAMIType:CC; }\r\n-->\r\n</STYLE>\r\n"
        "</HEAD>\r\n<BODY>\r\n<SYNC Start=1000><P Class=KRCC>\r\n첫 자막\r\n"
        "</BODY>\r\n</SAMI>\r\n");
}

/// The character format of the preview's sample text.
QTextCharFormat sampleFormat(const ParagraphFormatDialog& d)
{
    QTextCursor cursor(d.preview().document()->firstBlock());
    cursor.movePosition(QTextCursor::NextCharacter);
    return cursor.charFormat();
}

QTextBlockFormat sampleBlock(const ParagraphFormatDialog& d)
{
    return d.preview().document()->firstBlock().blockFormat();
}

}  // namespace

class ParagraphFormatDialogTest : public QObject {
    Q_OBJECT
    verbanta::AppSettings settings;
    verbanta::test::RecordingMessenger messenger;

    void load(SamiModel& model, const std::string& rule)
    {
        QVERIFY(model.LoadText(fileWithRule(rule)));
    }

private slots:
    void init() { messenger.shown.clear(); }

    void opensWithTheStyleAndTitleOfTheModel()
    {
        SamiModel model(settings);
        load(model,
             "margin-left:8pt; margin-top:3pt; font-size:14pt; text-align:RIGHT; "
             "color:Orange; background-color:#102030;");
        ParagraphFormatDialog d(model, settings, messenger);
        QCOMPARE(d.windowTitle(), QStringLiteral("문단 포맷 변경"));
        QCOMPARE(d.titleField().text(), QStringLiteral("원래 제목"));
        QCOMPARE(d.marginField(ParagraphFormatDialog::Left).text(), QStringLiteral("8"));
        QCOMPARE(d.marginField(ParagraphFormatDialog::Top).text(), QStringLiteral("3"));
        // Margins without their bit show 0.
        QCOMPARE(d.marginField(ParagraphFormatDialog::Right).text(), QStringLiteral("0"));
        QCOMPARE(d.marginField(ParagraphFormatDialog::Bottom).text(), QStringLiteral("0"));
        QCOMPARE(d.sizeList().count(), 31);
        QCOMPARE(d.sizeList().itemText(0), QStringLiteral("10"));
        QCOMPARE(d.sizeList().itemText(30), QStringLiteral("40"));
        QCOMPARE(d.sizeList().currentText(), QStringLiteral("14"));
        QCOMPARE(d.alignList().currentText(), QStringLiteral("오른쪽"));
        QCOMPARE(d.weightList().count(), 2);
        QCOMPARE(d.weightList().currentIndex(), -1);  // no font-weight in the rule
        QCOMPARE(d.colourPicker().colourText(), QStringLiteral("#FF6820"));
        QCOMPARE(d.backgroundPicker().colourText(), QStringLiteral("#102030"));
        QVERIFY(d.fontList(1).count() > 0);
        QVERIFY(!d.changed());
        if (qEnvironmentVariableIsSet("VERBANTA_SHOTS")) {
            d.show();
            QApplication::processEvents();
            d.grab().save(qEnvironmentVariable("VERBANTA_SHOTS") + "/paragraph_format.png");
        }
    }

    void coloursThatNameNothingShowWhiteAndBlack()
    {
        SamiModel model(settings);
        load(model, "color:nonsense; background-color:#12;");
        ParagraphFormatDialog d(model, settings, messenger);
        QCOMPARE(d.colourPicker().colour(), QColor(Qt::white));
        QCOMPARE(d.backgroundPicker().colour(), QColor(Qt::black));
        SamiModel bare(settings);
        load(bare, "margin-left:1pt;");
        ParagraphFormatDialog e(bare, settings, messenger);
        QCOMPARE(e.colourPicker().colour(), QColor(Qt::white));
        QCOMPARE(e.backgroundPicker().colour(), QColor(Qt::black));
        QCOMPARE(e.sizeList().currentIndex(), -1);
        QCOMPARE(e.alignList().currentIndex(), -1);
    }

    void choosingASizeSetsItAndItsBit()
    {
        SamiModel model(settings);
        load(model, "margin-left:8pt;");
        ParagraphFormatDialog d(model, settings, messenger);
        QVERIFY(!d.workingStyle().has(ParagraphStyle::kFontSize));
        d.sizeList().setCurrentIndex(2);
        QVERIFY(d.workingStyle().has(ParagraphStyle::kFontSize));
        QCOMPARE(d.workingStyle().find("font-size")->points, 12);
        QVERIFY(d.changed());
        QVERIFY(QString::fromStdString(d.previewHtml()).contains("font-size:12pt"));
        QCOMPARE(sampleFormat(d).font().pointSize(), 12);
    }

    void fontFamiliesSelectBothNames()
    {
        SamiModel model(settings);
        load(model, "font-family:굴림, Arial;");
        ParagraphFormatDialog d(model, settings, messenger);
        QCOMPARE(d.fontList(1).currentText(), QStringLiteral("굴림"));
        QCOMPARE(d.fontList(2).currentText(), QStringLiteral("Arial"));
        // Each installed family is in both lists.
        for (const QString& family : QFontDatabase::families()) {
            QVERIFY(d.fontList(1).findText(family) >= 0);
            QVERIFY(d.fontList(2).findText(family) >= 0);
        }
        // Choosing the second family keeps the first as it was.
        const int other = d.fontList(2).findText(QFontDatabase::families().constLast());
        d.fontList(2).setCurrentIndex(other);
        QCOMPARE(verbanta::test::utf8(d.workingStyle().find("font-family")->value),
                 "굴림, " + QFontDatabase::families().constLast().toStdString());
        QVERIFY(d.workingStyle().has(ParagraphStyle::kFontFamily));
    }

    void aSingleFamilyLeavesTheSecondListEmpty()
    {
        SamiModel model(settings);
        load(model, "font-family:Serif ;");
        ParagraphFormatDialog d(model, settings, messenger);
        QCOMPARE(d.fontList(1).currentText(), QStringLiteral("Serif"));
        QCOMPARE(d.fontList(2).currentText(), QString());
        d.fontList(1).setCurrentIndex(d.fontList(1).count() - 1);
        QCOMPARE(QString::fromStdString(d.workingStyle().find("font-family")->value),
                 d.fontList(1).currentText());
    }

    void pickingOrangeStoresItsHexText()
    {
        SamiModel model(settings);
        load(model, "margin-left:8pt;");
        ParagraphFormatDialog d(model, settings, messenger);
        d.show();
        auto* popup = d.colourPicker().showPalette();
        popup->colourButtons()[9]->click();
        QCOMPARE(d.workingStyle().find("color")->value, std::string("#FF6820"));
        QVERIFY(d.workingStyle().has(ParagraphStyle::kColor));
        QCOMPARE(sampleFormat(d).foreground().color(), QColor(0xFF, 0x68, 0x20));
        auto* background = d.backgroundPicker().showPalette();
        background->colourButtons()[13]->click();  // Blue
        QCOMPARE(d.workingStyle().find("background-color")->value, std::string("#0000FF"));
        QCOMPARE(sampleBlock(d).background().color(), QColor(0, 0, 0xFF));
    }

    void thePreviewShowsTheWorkingStyle()
    {
        SamiModel model(settings);
        load(model, "margin-left:8pt; font-size:20pt; text-align:left; font-weight:bold;");
        ParagraphFormatDialog d(model, settings, messenger);
        const std::string expected =
            "<HTML><HEAD><STYLE TYPE=\"text/css\"><!--" +
            verbanta::FormatStyle(d.workingStyle(), verbanta::StyleKind::Paragraph) +
            "--></STYLE></HEAD><P>" + cp949("가나다AaBbCc123") + "</P></HTML>";
        QCOMPARE(d.previewHtml(), expected);
        QCOMPARE(sampleFormat(d).font().pointSize(), 20);
        QCOMPARE(sampleFormat(d).fontWeight(), int(QFont::Bold));
        QCOMPARE(sampleBlock(d).alignment() & Qt::AlignHorizontal_Mask,
                 Qt::Alignment(Qt::AlignLeft));
        QCOMPARE(sampleBlock(d).leftMargin(), 11.0);  // 8 pt at 96 dpi
        d.alignList().setCurrentIndex(0);             // "중앙"
        d.weightList().setCurrentIndex(0);            // "보통"
        QCOMPARE(sampleBlock(d).alignment() & Qt::AlignHorizontal_Mask,
                 Qt::Alignment(Qt::AlignHCenter));
        QCOMPARE(sampleFormat(d).fontWeight(), int(QFont::Normal));
        QCOMPARE(d.workingStyle().find("text-align")->value, std::string("center"));
        QCOMPARE(d.workingStyle().find("font-weight")->value, std::string("normal"));
        const QString text = d.preview().toPlainText();
        QCOMPARE(text, QStringLiteral("가나다AaBbCc123"));
    }

    void qtReceivesTheRulesOutOfTheirCommentWithMarginsInPixels()
    {
        const QString page = QStringLiteral(
            "<HTML><HEAD><STYLE TYPE=\"text/css\"><!--P { margin-left:8pt; margin-right:30pt; "
            "MARGIN-TOP:0pt;\r\n font-size:14pt; }\r\n--></STYLE></HEAD><P>x</P></HTML>");
        const QString qt = ParagraphFormatDialog::qtPreviewHtml(page);
        QVERIFY(!qt.contains("<!--") && !qt.contains("-->"));
        QVERIFY(qt.contains("margin-left:11px"));
        QVERIFY(qt.contains("margin-right:40px"));
        QVERIFY(qt.contains("MARGIN-TOP:0px"));
        QVERIFY(qt.contains("font-size:14pt"));  // Qt understands point sizes of fonts
        QVERIFY(qt.endsWith("</STYLE></HEAD><P>x</P></HTML>"));
        QCOMPARE(ParagraphFormatDialog::qtPreviewHtml(QStringLiteral("<P>plain</P>")),
                 QStringLiteral("<P>plain</P>"));
    }

    void badMarginsAreRefusedWithTheirMessage()
    {
        SamiModel model(settings);
        load(model, "margin-left:8pt;");
        ParagraphFormatDialog d(model, settings, messenger);
        d.show();
        (void)QTest::qWaitForWindowExposed(&d);
        verbanta::app::NumberField& left = d.marginField(ParagraphFormatDialog::Left);
        left.setFocus();
        left.selectAll();
        QTest::keyClicks(&left, QStringLiteral("41"));
        QCOMPARE(QString::fromStdString(messenger.shown.back().text),
                 QStringLiteral("40 보다 큰 값은 입력할 수 없습니다 "));
        QCOMPARE(left.text(), QStringLiteral("0"));
        QCOMPARE(d.workingStyle().find("margin-left")->points, 0);
        left.selectAll();
        QTest::keyClicks(&left, QStringLiteral("x-"));
        QCOMPARE(left.text(), QStringLiteral("0"));  // neither key is taken
        left.selectAll();
        QTest::keyClicks(&left, QStringLiteral("17"));
        QCOMPARE(d.workingStyle().find("margin-left")->points, 17);
        // An empty margin keeps the dialog open on OK and changes nothing.
        left.selectAll();
        QTest::keyClick(&left, Qt::Key_Backspace);
        const std::size_t before = messenger.shown.size();
        d.accept();
        QCOMPARE(messenger.shown.size(), before + 1);
        QCOMPARE(QString::fromStdString(messenger.shown.back().text),
                 QStringLiteral("값을 입력해 주십시요 "));
        QVERIFY(d.isVisible());
        QCOMPARE(model.paragraphStyle.find("margin-left")->points, 8);
    }

    void okStoresTheStyleAndTheTitle()
    {
        SamiModel model(settings);
        load(model, "margin-left:8pt;");
        ParagraphFormatDialog d(model, settings, messenger);
        d.titleField().setText(QStringLiteral("새 제목"));
        QVERIFY(d.changed());  // a new title alone is a change to save
        d.accept();
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(model.title, cp949("새 제목"));
        QVERIFY(model.paragraphStyle == d.workingStyle());
        QVERIFY(verbanta::writeSami(model, -1).find(cp949("<TITLE>새 제목</TITLE>")) !=
                std::string::npos);
    }

    void cancelLeavesTheModelExactlyAsItWas()
    {
        SamiModel model(settings);
        load(model, "margin-left:8pt; font-size:14pt; color:white;");
        const ParagraphStyle style = model.paragraphStyle;
        const std::string title = model.title;
        const std::string file = verbanta::writeSami(model, -1);
        ParagraphFormatDialog d(model, settings, messenger);
        d.show();
        d.sizeList().setCurrentIndex(20);
        d.alignList().setCurrentIndex(2);
        d.weightList().setCurrentIndex(1);
        d.fontList(1).setCurrentIndex(0);
        d.colourPicker().showPalette()->colourButtons()[3]->click();
        d.marginField(ParagraphFormatDialog::Top).stepBy(4);
        d.titleField().setText(QStringLiteral("바뀐 제목"));
        QVERIFY(d.changed());
        d.reject();
        QVERIFY(model.paragraphStyle == style);
        QCOMPARE(model.title, title);
        QCOMPARE(verbanta::writeSami(model, -1), file);
    }

    void anUnchangedDialogReportsNoChange()
    {
        SamiModel model(settings);
        load(model, "margin-left:8pt; font-size:14pt;");
        ParagraphFormatDialog d(model, settings, messenger);
        // A choice put back as it was is no change.
        d.sizeList().setCurrentIndex(10);
        d.sizeList().setCurrentIndex(4);
        QVERIFY(!d.changed());
        d.accept();
        QVERIFY(!d.changed());
    }

    void typedTitlesReadBackAsTyped()
    {
        // Markup typed into the title must neither end it early nor start captions.
        for (const char* typed :
             {"a</TITLE><BODY><SYNC Start=5><P Class=KRCC>x", "<SYNC Start=9>t", "a <SYNC b",
              "x<!--y", "<b>굵게</b>", "Tom &amp; Jerry", "</SAMI>", "<P Class=KRCC>p"}) {
            SamiModel model(settings);
            load(model, "margin-left:8pt;");
            SamiModel plain(settings);
            QVERIFY(plain.LoadText(verbanta::writeSami(model, -1)));
            ParagraphFormatDialog d(model, settings, messenger);
            d.titleField().setText(QString::fromUtf8(typed));
            d.accept();
            const std::string stored = model.title;
            SamiModel reread(settings);
            QVERIFY(reread.LoadText(verbanta::writeSami(model, -1)));
            QVERIFY2(reread.title == stored, typed);
            QVERIFY2(reread.GetCount() == plain.GetCount(), typed);
        }
    }

    void theCommandMarksTheDocumentModifiedOnlyAfterAChange()
    {
        verbanta::test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        QVERIFY(!f.frame->documentHost().document().isModified());
        auto answer = [](bool change) {
            QTimer::singleShot(50, [change] {
                auto* d = qobject_cast<ParagraphFormatDialog*>(QApplication::activeModalWidget());
                QVERIFY(d);
                if (change)
                    d->sizeList().setCurrentIndex(6);
                d->accept();
            });
        };
        answer(false);
        QVERIFY(f.frame->commands().run(verbanta::app::cmd::WholeFileFormat));
        QVERIFY(!f.frame->documentHost().document().isModified());
        answer(true);
        QVERIFY(f.frame->commands().run(verbanta::app::cmd::WholeFileFormat));
        QVERIFY(f.frame->documentHost().document().isModified());
        QCOMPARE(f.frame->documentHost().model().paragraphStyle.find("font-size")->points, 16);
    }
};

QTEST_MAIN(ParagraphFormatDialogTest)
#include "paragraph_format_dialog_test.moc"
