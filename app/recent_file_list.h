// The recent-file list: at most five paths, newest first, kept in the
// per-user settings (organisation "korvane", application "reelsmith") under
// "Recent File List" as "File1" to "File5"; beside it, under "Recent
// Destination", the folder the last destination was chosen in.
#pragma once

#include <QStringList>

class QSettings;

class CRecentFileList {
public:
    static constexpr int kMaxEntries = 5;

    // `settings` is borrowed; the list reads it now and writes it on every
    // change, so a crash loses nothing.
    explicit CRecentFileList(QSettings* settings);

    // Moves `path` to the top (adding it when new), dropping the oldest past
    // five.
    void Add(const QString& path);
    const QStringList& Items() const { return m_items; }

    // Empty until a destination has been chosen.
    QString DestinationFolder() const { return m_destFolder; }
    void SetDestinationFolder(const QString& folder);

private:
    void Save();

    QSettings* m_pSettings;
    QStringList m_items;
    QString m_destFolder;
};
