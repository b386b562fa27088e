// A SAMI file in UTF-8 as the window shows and keeps it: characters CP949 lacks live in the
// model as references and appear as themselves in the list, the panel and the status bar's
// encoding; typing one stores its reference; saving writes the file's own bytes back.
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <QtTest>

#include "caption_codec.h"
#include "caption_text_edit.h"
#include "edit_panel.h"
#include "frame_fixture.h"

using namespace verbanta;

namespace {

// Written as the program writes UTF-8: CR LF, no mark.
const char* const kUtf8Sami =
    "<SAMI>\r\n<HEAD>\r\n<TITLE></TITLE>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
    "P { margin-left:8pt; margin-right:8pt; margin-bottom:2pt;\r\n"
    "    margin-top:2pt; font-size:14pt; text-align:center;\r\n"
    "    font-family:굴림, Arial; font-weight:normal; color:white;\r\n"
    "    background-color:black; }\r\n"
    ".KRCC { Name:한국어; lang:ko-KR; SAMIType:CC; }\r\n"
    "-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n"
    "<SYNC Start=1000><P Class=KRCC>\r\n한국어 café 😀\r\n"
    "<SYNC Start=2000><P Class=KRCC>&nbsp;\r\n"
    "</BODY>\r\n</SAMI>";

QByteArray readAll(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

}  // namespace

class UnicodeDocumentTest : public QObject {
    Q_OBJECT
private slots:
    void aUtf8FileShowsEveryCharacterAndItsEncoding()
    {
        test::FrameFixture f;
        QVERIFY(f.open(f.writeBytes(QStringLiteral("u.smi"), kUtf8Sami)));
        QCOMPARE(f.frame->encodingText(), QStringLiteral("UTF-8"));
        // The model keeps CP949 bytes with references for what CP949 lacks.
        const std::string stored = f.editor().session().model().GetFirst().text;
        QVERIFY(stored.find("caf&#233; &#128512;") != std::string::npos);
        QCOMPARE(f.cell(0, 2), QString::fromUtf8("한국어 café 😀"));
        QCOMPARE(f.view().panel().textField().toPlainText(), QString::fromUtf8("한국어 café 😀"));
    }

    void typingACharacterCp949LacksStoresItsReference()
    {
        QCOMPARE(app::CaptionCodec::toModel(QString::fromUtf8("a—😀")),
                 std::string("a&#8212;&#128512;"));
        QCOMPARE(app::CaptionCodec::toDisplay("a&#8212;&#128512;"), QString::fromUtf8("a—😀"));

        test::FrameFixture f;
        QVERIFY(f.open(f.writeBytes(QStringLiteral("u.smi"), kUtf8Sami)));
        f.showAndFocusList();
        app::CaptionTextEdit& text = f.view().panel().textField();
        text.setFocus();
        text.selectAll();
        for (const QChar c : QString::fromUtf8("새 — 자막")) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(&text, &press);
        }
        QTest::keyClick(&text, Qt::Key_Return, Qt::AltModifier);
        const std::string stored = f.editor().session().model().GetFirst().text;
        QVERIFY2(stored.find("&#8212;") != std::string::npos, stored.c_str());
        QVERIFY(stored.find('?') == std::string::npos);
        QCOMPARE(f.cell(0, 2), QString::fromUtf8("새 — 자막"));
    }

    void savingWritesTheFileBackInItsOwnEncoding()
    {
        test::FrameFixture f;
        const QString path = f.writeBytes(QStringLiteral("u.smi"), kUtf8Sami);
        QVERIFY(f.open(path));
        // Modified without a change of text, then saved: the same bytes come back.
        f.frame->documentHost().setModified(true);
        QVERIFY(f.frame->documentHost().save());
        QCOMPARE(readAll(path), QByteArray(kUtf8Sami));
    }

    void saveAsWritesTheEncodingChosenAsTheFileType()
    {
        test::FrameFixture f;
        QVERIFY(f.open(f.writeBytes(QStringLiteral("u.smi"), kUtf8Sami)));
        const QString target = f.dir.filePath(QStringLiteral("wide.smi"));
        QStringList offered;
        QTimer answer;
        answer.setInterval(20);
        QObject::connect(&answer, &QTimer::timeout, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* dialog = qobject_cast<QFileDialog*>(w);
                if (!dialog || !dialog->isVisible())
                    continue;
                answer.stop();
                offered = dialog->nameFilters();
                dialog->selectNameFilter(offered.value(3));
                dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(target);
                static_cast<QDialog*>(dialog)->done(QDialog::Accepted);
            }
        });
        answer.start();
        QVERIFY(f.frame->documentHost().saveAs());
        QCOMPARE(offered, (QStringList{QString::fromUtf8("SAMI 자막 파일 - CP949 (*.smi)"),
                                       QString::fromUtf8("SAMI 자막 파일 - UTF-8 (*.smi)"),
                                       QString::fromUtf8("SAMI 자막 파일 - UTF-8 (BOM) (*.smi)"),
                                       QString::fromUtf8("SAMI 자막 파일 - UTF-16 LE (*.smi)")}));
        QCOMPARE(f.frame->encodingText(), QStringLiteral("UTF-16 LE"));
        const QByteArray written = readAll(target);
        QVERIFY(written.startsWith("\xFF\xFE"));
        QCOMPARE(QString::fromUtf16(reinterpret_cast<const char16_t*>(written.constData() + 2),
                                    (written.size() - 2) / 2),
                 QString::fromUtf8(kUtf8Sami));
    }
};

QTEST_MAIN(UnicodeDocumentTest)
#include "unicode_document_test.moc"
