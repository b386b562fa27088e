#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class Hunspell;

namespace verbanta::app {

/// One Hunspell dictionary ("ko_KR", "en_US") from the system's dictionary folder. Not
/// thread-safe: one thread uses it.
class SpellDictionary {
public:
    /// The system's Hunspell dictionaries.
    static QString folder();
    /// Whether the dictionary's two files are installed.
    static bool isInstalled(const QString& name);

    SpellDictionary();
    ~SpellDictionary();
    SpellDictionary(const SpellDictionary&) = delete;
    SpellDictionary& operator=(const SpellDictionary&) = delete;

    /// Reads the dictionary (seconds for the Korean one); false when it is not installed.
    bool load(const QString& name);
    bool isLoaded() const { return m_hunspell != nullptr; }
    bool check(const QString& word);
    QStringList suggest(const QString& word);
    /// Takes the word as correct from now on (this run only; the word list keeps it).
    void add(const QString& word);

private:
    std::string encode(const QString& word) const;
    QString decode(const std::string& word) const;

    std::unique_ptr<Hunspell> m_hunspell;
    bool m_utf8 = true;
    QString m_encoding;
};

}  // namespace verbanta::app
