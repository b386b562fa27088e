#pragma once

#include <QString>
#include <QStringList>

namespace verbanta {
class KeyValueStore;
}

namespace verbanta::app {

/// The four most recently used files, newest first, kept in the section "Recent File List"
/// as "File1" … "File4".
class RecentFileList {
public:
    static constexpr int kSize = 4;
    static constexpr const char* kSection = "Recent File List";

    void load(const KeyValueStore& store);
    void save(KeyValueStore& store) const;

    /// Puts a path first; an entry for the same file moves up instead of repeating.
    void add(const QString& path);
    void remove(const QString& path);
    const QStringList& paths() const { return m_paths; }
    /// The menu text of entry i: "&1 name" with the path shortened to fit a menu.
    QString menuText(int i) const;

private:
    QStringList m_paths;
};

}  // namespace verbanta::app
