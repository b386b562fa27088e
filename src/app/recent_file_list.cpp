#include "recent_file_list.h"

#include <QDir>
#include <QFileInfo>

#include <string>

#include "settings/key_value_store.h"

namespace verbanta::app {
namespace {

std::string entryName(int i)
{
    return "File" + std::to_string(i + 1);
}

bool samePath(const QString& a, const QString& b)
{
    return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

}  // namespace

void RecentFileList::load(const KeyValueStore& store)
{
    m_paths.clear();
    for (int i = 0; i < kSize; ++i)
        if (const auto path = store.readString(kSection, entryName(i)); path && !path->empty())
            m_paths.append(QString::fromStdString(*path));
}

void RecentFileList::save(KeyValueStore& store) const
{
    for (int i = 0; i < kSize; ++i)
        store.writeString(kSection, entryName(i),
                          i < m_paths.size() ? m_paths[i].toStdString() : std::string());
}

void RecentFileList::add(const QString& path)
{
    remove(path);
    m_paths.prepend(QFileInfo(path).absoluteFilePath());
    while (m_paths.size() > kSize)
        m_paths.removeLast();
}

void RecentFileList::remove(const QString& path)
{
    m_paths.removeIf([&](const QString& p) { return samePath(p, path); });
}

QString RecentFileList::menuText(int i) const
{
    QString path = QDir::toNativeSeparators(m_paths.value(i));
    constexpr int kMaxLength = 48;
    if (path.size() > kMaxLength) {
        // Keep the file name whole and as much of the folder's start as fits.
        const QString name = QFileInfo(m_paths[i]).fileName();
        const int keep = std::max(3, kMaxLength - static_cast<int>(name.size()) - 4);
        path = path.left(keep) + QStringLiteral("...") + QDir::separator() + name;
    }
    path.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(i + 1).arg(path);
}

}  // namespace verbanta::app
