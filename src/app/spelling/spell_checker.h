#pragma once

#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QThread>

#include <memory>
#include <string_view>

#include "spelling/spell_words.h"

namespace verbanta::app {

/// The spelling check of the caption text: Hunspell's Korean and English dictionaries, chosen
/// by the language, consulted on a thread of their own so that typing never waits on them (the
/// Korean dictionary takes seconds to read). Verdicts are kept per dictionary; a word not yet
/// judged is sent to the thread and `checked` tells when verdicts arrive. The user's own words
/// are kept in a word list, one per line, and taken as correct in every dictionary.
class SpellChecker : public QObject {
    Q_OBJECT
public:
    enum class Verdict { Correct, Misspelt, Unknown };

    /// `userWordsPath`: the user's word list (made when the first word is added).
    explicit SpellChecker(QString userWordsPath, QObject* parent = nullptr);
    ~SpellChecker() override;

    /// The dictionary of a language by its code ("ko-KR", "en"), else by its class ("KRCC",
    /// "ENCC"): "ko_KR" for Korean, "en_US" for English, empty for a language without one.
    static QString dictionaryFor(std::string_view code, std::string_view className);

    /// The dictionary words are checked against; empty checks nothing.
    void setDictionary(const QString& name);
    const QString& dictionary() const { return m_dictionary; }
    /// Whether the dictionary judges the word: Hangul words in Korean, other words in English.
    bool covers(const SpellWord& word) const;
    /// The verdict on a word; an unknown one is sent to be checked.
    Verdict verdict(const QString& word);
    /// Asks for the dictionary's suggestions; `suggestionsReady` brings them.
    void requestSuggestions(const QString& word);
    /// Takes the word as correct in every dictionary and adds it to the user's word list.
    void addWord(const QString& word);

signals:
    /// New verdicts arrived: what is shown may be judged again.
    void checked();
    void suggestionsReady(const QString& word, const QStringList& suggestions);

private:
    struct Engine;
    void post(std::function<void(Engine&)> job);
    void sendPending();

    QString m_userWordsPath;
    QString m_dictionary;
    QHash<QString, QHash<QString, bool>> m_verdicts;  ///< dictionary → word → correct
    QSet<QString> m_pending;
    bool m_sendScheduled = false;
    QThread m_thread;
    QObject* m_threadContext = nullptr;  ///< lives in the thread; jobs run through it
    std::unique_ptr<Engine> m_engine;    ///< touched by the thread only
};

}  // namespace verbanta::app
