#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QMenu>
#include <QPlainTextDocumentLayout>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QtTest>

#include "caption_text_edit.h"
#include "settings/app_settings.h"
#include "spelling/spell_checker.h"
#include "spelling/spell_dictionary.h"
#include "spelling/spell_highlighter.h"
#include "spelling/spell_words.h"

using namespace verbanta::app;
using verbanta::AppSettings;

namespace {

/// The words the highlighter underlines in the document's first line.
QStringList underlined(const QTextDocument& document)
{
    QStringList words;
    const QTextBlock block = document.firstBlock();
    for (const QTextLayout::FormatRange& r : block.layout()->formats())
        if (r.format.underlineStyle() == QTextCharFormat::SpellCheckUnderline)
            words << block.text().mid(r.start, r.length);
    return words;
}

/// The edit panel's field checking English, in use (the dictionary is read at the first focus).
struct EnglishField {
    QTemporaryDir dir;
    SpellChecker checker{dir.filePath(QStringLiteral("words.txt"))};
    AppSettings settings;
    CaptionTextEdit edit{settings};

    EnglishField()
    {
        checker.setDictionary(QStringLiteral("en_US"));
        edit.setSpelling(&checker);
        edit.resize(400, 200);
        edit.show();
        QFocusEvent focus(QEvent::FocusIn, Qt::OtherFocusReason);
        QApplication::sendEvent(&edit, &focus);
    }
    bool misspelt(int position) const { return edit.spellHighlighter()->misspeltAt(position); }
};

}  // namespace

class SpellingTest : public QObject {
    Q_OBJECT
private slots:
    void wordsLeaveMarkupAndEntitiesOut()
    {
        const QString text =
            QStringLiteral("<font color=\"red\">안녕하세여</font>&nbsp;don't<i>MP3 플레이어</i>&amp;x <b");
        QStringList words;
        QList<bool> hangul;
        for (const SpellWord& w : spellWords(text)) {
            words << text.mid(w.start, w.length);
            hangul << w.hangul;
        }
        QCOMPARE(words, (QStringList{QStringLiteral("안녕하세여"), QStringLiteral("don't"),
                                     QStringLiteral("플레이어"), QStringLiteral("x")}));
        QCOMPARE(hangul, (QList<bool>{true, false, true, false}));
    }

    void dictionaryFollowsTheLanguageCodeThenTheClass()
    {
        QCOMPARE(SpellChecker::dictionaryFor("ko-KR", ".ENCC"), QStringLiteral("ko_KR"));
        QCOMPARE(SpellChecker::dictionaryFor("en-US", ".KRCC"), QStringLiteral("en_US"));
        QCOMPARE(SpellChecker::dictionaryFor("", ".KRCC"), QStringLiteral("ko_KR"));
        QCOMPARE(SpellChecker::dictionaryFor("", "ENCC"), QStringLiteral("en_US"));
        QCOMPARE(SpellChecker::dictionaryFor("ja-JP", ".KRCC"), QString());
    }

    void misspeltKoreanAndEnglishWordsInMarkupAreUnderlined_data()
    {
        QTest::addColumn<QString>("dictionary");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("misspelt");
        QTest::newRow("Korean") << QStringLiteral("ko_KR")
                                << QStringLiteral("<font color=yellow>안녕하세여</font>&nbsp;자막을 "
                                                  "<b>편집합니다</b> hello")
                                << QStringList{QStringLiteral("안녕하세여")};
        QTest::newRow("English") << QStringLiteral("en_US")
                                 << QStringLiteral("<i>helo</i>&nbsp;world<br>&amp;안녕하세여")
                                 << QStringList{QStringLiteral("helo")};
    }

    void misspeltKoreanAndEnglishWordsInMarkupAreUnderlined()
    {
        QFETCH(QString, dictionary);
        QFETCH(QString, text);
        QFETCH(QStringList, misspelt);
        if (!SpellDictionary::isInstalled(dictionary))
            QSKIP("the Hunspell dictionary is not installed");
        QTemporaryDir dir;
        SpellChecker checker(dir.filePath(QStringLiteral("words.txt")));
        checker.setDictionary(dictionary);
        // Laid out as the edit panel's document is: a document without a layout tells no one
        // of its changes.
        QTextDocument document;
        document.setDocumentLayout(new QPlainTextDocumentLayout(&document));
        SpellHighlighter highlighter(checker, &document);
        document.setPlainText(text);
        // Judged on the checker's thread; the Korean dictionary takes a while to read.
        QTRY_COMPARE_WITH_TIMEOUT(underlined(document), misspelt, 120000);

        // A word added to the user's list is underlined no more, and the list keeps it.
        checker.addWord(misspelt.front());
        QTRY_VERIFY(underlined(document).isEmpty());
        QFile list(dir.filePath(QStringLiteral("words.txt")));
        QVERIFY(list.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(list.readAll()), misspelt.front() + QLatin1Char('\n'));
    }

    void fieldMenuOffersSuggestionsAndAddsToTheUsersWords()
    {
        if (!SpellDictionary::isInstalled(QStringLiteral("en_US")))
            QSKIP("the English Hunspell dictionary is not installed");
        EnglishField field;
        field.edit.setModelText("<i>helo</i> world");
        QTRY_VERIFY_WITH_TIMEOUT(field.misspelt(4), 60000);
        QVERIFY(!field.misspelt(12));

        // The menu is looked at while it is open: its suggestions come from the thread.
        QStringList shown;
        QTimer poll;
        QElapsedTimer waited;
        waited.start();
        connect(&poll, &QTimer::timeout, this, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu)
                return;
            QStringList texts;
            for (const QAction* action : menu->actions()) texts << action->text();
            if (texts.contains(QStringLiteral("추천 단어를 찾고 있습니다…")) && waited.elapsed() < 60000)
                return;
            shown = texts;
            for (QAction* action : menu->actions())
                if (action->text() == QStringLiteral("내 사전에 추가(&D)"))
                    action->trigger();
            menu->close();
        });
        poll.start(20);
        QTextCursor at(field.edit.document());
        at.setPosition(5);
        const QPoint point = field.edit.cursorRect(at).center();
        QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, point,
                                    field.edit.viewport()->mapToGlobal(point));
        QApplication::sendEvent(field.edit.viewport(), &menuEvent);

        QVERIFY2(shown.contains(QStringLiteral("hello")), qPrintable(shown.join(u'|')));
        QVERIFY(shown.contains(QStringLiteral("내 사전에 추가(&D)")));
        QTRY_VERIFY(!field.misspelt(4));
        QFile list(field.dir.filePath(QStringLiteral("words.txt")));
        QVERIFY(list.open(QIODevice::ReadOnly));
        QCOMPARE(list.readAll(), QByteArray("helo\n"));
    }

    void aLineShownInBlocksIsLeftUncheckedAndWhole()
    {
        if (!SpellDictionary::isInstalled(QStringLiteral("en_US")))
            QSKIP("the English Hunspell dictionary is not installed");
        EnglishField field;
        // Every word of the long line is misspelt, and none is underlined.
        std::string line;
        while (line.size() < CaptionTextEdit::kMaxBlockChars * 5 / 2) line += "helo ";
        field.edit.setModelText(line + "\r\nhelo");
        QCOMPARE(field.edit.document()->blockCount(), 4);
        const int shortLine = field.edit.document()->lastBlock().position();
        QTRY_VERIFY_WITH_TIMEOUT(field.misspelt(shortLine), 60000);
        for (QTextBlock block = field.edit.document()->firstBlock();
             block != field.edit.document()->lastBlock(); block = block.next())
            QVERIFY(block.layout()->formats().isEmpty());

        // Typing a line break into the long line leaves its text whole.
        QTextCursor cursor = field.edit.textCursor();
        cursor.setPosition(5);
        field.edit.setTextCursor(cursor);
        QTest::keyClick(&field.edit, Qt::Key_Return);
        QCOMPARE(field.edit.modelText(), line.substr(0, 5) + "<br>\r\n" + line.substr(5) + "\r\nhelo");
        QTRY_VERIFY(field.misspelt(1));
    }
};

QTEST_MAIN(SpellingTest)
#include "spelling_test.moc"
