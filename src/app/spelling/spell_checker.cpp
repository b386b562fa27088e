#include "spelling/spell_checker.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <map>

#include "spelling/spell_dictionary.h"

namespace verbanta::app {

/// What the thread holds: the dictionaries read so far and the user's words.
struct SpellChecker::Engine {
    std::map<QString, std::unique_ptr<SpellDictionary>> dictionaries;
    QStringList userWords;
    bool userWordsRead = false;
    QString userWordsPath;

    SpellDictionary& dictionary(const QString& name)
    {
        if (!userWordsRead) {
            userWordsRead = true;
            QFile file(userWordsPath);
            if (file.open(QIODevice::ReadOnly | QIODevice::Text))
                for (const QByteArray& line : file.readAll().split('\n'))
                    if (!line.trimmed().isEmpty())
                        userWords << QString::fromUtf8(line.trimmed());
        }
        auto& slot = dictionaries[name];
        if (!slot) {
            slot = std::make_unique<SpellDictionary>();
            if (slot->load(name))
                for (const QString& word : userWords) slot->add(word);
        }
        return *slot;
    }
};

SpellChecker::SpellChecker(QString userWordsPath, QObject* parent)
    : QObject(parent), m_userWordsPath(std::move(userWordsPath)), m_engine(new Engine)
{
    m_engine->userWordsPath = m_userWordsPath;
    m_thread.setObjectName(QStringLiteral("spelling"));
}

SpellChecker::~SpellChecker()
{
    // A dictionary still being read is waited for: the thread owns it until then.
    m_thread.quit();
    m_thread.wait();
    delete m_threadContext;
}

QString SpellChecker::dictionaryFor(std::string_view code, std::string_view className)
{
    const auto language = [](std::string_view text) {
        const QString lower = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()))
                                  .trimmed()
                                  .toLower();
        const QString prefix = lower.startsWith(QLatin1Char('.')) ? lower.mid(1, 2) : lower.left(2);
        if (prefix == QStringLiteral("ko") || prefix == QStringLiteral("kr"))
            return QStringLiteral("ko_KR");
        if (prefix == QStringLiteral("en"))
            return QStringLiteral("en_US");
        return QString();
    };
    // The code names the language best; a class names it by custom (KRCC, ENCC).
    const QString byCode = language(code);
    return !byCode.isEmpty() || !code.empty() ? byCode : language(className);
}

void SpellChecker::setDictionary(const QString& name)
{
    m_dictionary = SpellDictionary::isInstalled(name) ? name : QString();
    m_pending.clear();
}

bool SpellChecker::covers(const SpellWord& word) const
{
    if (m_dictionary.isEmpty())
        return false;
    return word.hangul == m_dictionary.startsWith(QStringLiteral("ko"));
}

void SpellChecker::post(std::function<void(Engine&)> job)
{
    if (!m_thread.isRunning()) {
        m_threadContext = new QObject;
        m_threadContext->moveToThread(&m_thread);
        m_thread.start(QThread::LowPriority);
    }
    Engine* engine = m_engine.get();
    QMetaObject::invokeMethod(
        m_threadContext, [engine, job = std::move(job)] { job(*engine); }, Qt::QueuedConnection);
}

SpellChecker::Verdict SpellChecker::verdict(const QString& word)
{
    if (m_dictionary.isEmpty())
        return Verdict::Correct;
    const QHash<QString, bool>& known = m_verdicts[m_dictionary];
    const auto it = known.constFind(word);
    if (it != known.constEnd())
        return *it ? Verdict::Correct : Verdict::Misspelt;
    m_pending.insert(word);
    if (!m_sendScheduled) {
        // The words of one pass of the highlighter go together.
        m_sendScheduled = true;
        QTimer::singleShot(0, this, &SpellChecker::sendPending);
    }
    return Verdict::Unknown;
}

void SpellChecker::sendPending()
{
    m_sendScheduled = false;
    if (m_pending.isEmpty() || m_dictionary.isEmpty())
        return;
    const QStringList words(m_pending.begin(), m_pending.end());
    m_pending.clear();
    const QString name = m_dictionary;
    post([this, name, words](Engine& engine) {
        SpellDictionary& dictionary = engine.dictionary(name);
        QHash<QString, bool> verdicts;
        for (const QString& word : words) verdicts.insert(word, dictionary.check(word));
        QMetaObject::invokeMethod(
            this,
            [this, name, verdicts] {
                m_verdicts[name].insert(verdicts);
                emit checked();
            },
            Qt::QueuedConnection);
    });
}

void SpellChecker::requestSuggestions(const QString& word)
{
    if (m_dictionary.isEmpty())
        return;
    const QString name = m_dictionary;
    post([this, name, word](Engine& engine) {
        const QStringList list = engine.dictionary(name).suggest(word);
        QMetaObject::invokeMethod(
            this, [this, word, list] { emit suggestionsReady(word, list); }, Qt::QueuedConnection);
    });
}

void SpellChecker::addWord(const QString& word)
{
    if (word.isEmpty())
        return;
    for (auto it = m_verdicts.begin(); it != m_verdicts.end(); ++it) it->insert(word, true);
    QDir().mkpath(QFileInfo(m_userWordsPath).absolutePath());
    QFile file(m_userWordsPath);
    if (file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        file.write(word.toUtf8() + '\n');
    post([word](Engine& engine) {
        if (!engine.userWordsRead)
            return;  // read with the list when the first dictionary is
        engine.userWords << word;
        for (auto& [name, dictionary] : engine.dictionaries) dictionary->add(word);
    });
    emit checked();
}

}  // namespace verbanta::app
