#include "spelling/spell_dictionary.h"

#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

#include <hunspell.hxx>

namespace verbanta::app {

QString SpellDictionary::folder()
{
    return QStringLiteral("/usr/share/hunspell");
}

bool SpellDictionary::isInstalled(const QString& name)
{
    const QString base = folder() + QLatin1Char('/') + name;
    return !name.isEmpty() && QFileInfo::exists(base + QStringLiteral(".aff")) &&
           QFileInfo::exists(base + QStringLiteral(".dic"));
}

SpellDictionary::SpellDictionary() = default;
SpellDictionary::~SpellDictionary() = default;

bool SpellDictionary::load(const QString& name)
{
    if (!isInstalled(name))
        return false;
    const QByteArray base = QFile::encodeName(folder() + QLatin1Char('/') + name);
    m_hunspell = std::make_unique<Hunspell>((base + ".aff").constData(), (base + ".dic").constData());
    m_encoding = QString::fromLatin1(m_hunspell->get_dic_encoding());
    m_utf8 = m_encoding.compare(QStringLiteral("UTF-8"), Qt::CaseInsensitive) == 0;
    return true;
}

std::string SpellDictionary::encode(const QString& word) const
{
    if (m_utf8)
        return word.toStdString();
    QStringEncoder encoder(m_encoding.toLatin1().constData());
    const QByteArray bytes = encoder.encode(word);
    return encoder.hasError() ? std::string() : bytes.toStdString();
}

QString SpellDictionary::decode(const std::string& word) const
{
    if (m_utf8)
        return QString::fromStdString(word);
    QStringDecoder decoder(m_encoding.toLatin1().constData());
    return decoder.decode(QByteArray::fromStdString(word));
}

bool SpellDictionary::check(const QString& word)
{
    if (!m_hunspell)
        return true;
    const std::string bytes = encode(word);
    // A word the dictionary's encoding cannot hold is not its language's: left alone.
    return bytes.empty() || m_hunspell->spell(bytes);
}

QStringList SpellDictionary::suggest(const QString& word)
{
    QStringList list;
    if (!m_hunspell)
        return list;
    for (const std::string& s : m_hunspell->suggest(encode(word))) list << decode(s);
    return list;
}

void SpellDictionary::add(const QString& word)
{
    if (m_hunspell)
        m_hunspell->add(encode(word));
}

}  // namespace verbanta::app
