#include <QPlainTextDocumentLayout>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QtTest>

#include "spelling/spell_checker.h"
#include "spelling/spell_dictionary.h"
#include "spelling/spell_highlighter.h"
#include "spelling/spell_words.h"

using namespace verbanta::app;

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
};

QTEST_MAIN(SpellingTest)
#include "spelling_test.moc"
