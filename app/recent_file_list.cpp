#include "app/recent_file_list.h"

#include <QSettings>

namespace {
constexpr char kGroup[] = "Recent File List";
constexpr char kDestKey[] = "Recent Destination/Folder";
}  // namespace

CRecentFileList::CRecentFileList(QSettings* settings) : m_pSettings(settings) {
    if (!m_pSettings) return;
    m_pSettings->beginGroup(QLatin1String(kGroup));
    for (int i = 1; i <= kMaxEntries; ++i) {
        const QString path = m_pSettings->value(QStringLiteral("File%1").arg(i)).toString();
        if (!path.isEmpty() && !m_items.contains(path)) m_items << path;
    }
    m_pSettings->endGroup();
    m_destFolder = m_pSettings->value(QLatin1String(kDestKey)).toString();
}

void CRecentFileList::SetDestinationFolder(const QString& folder) {
    if (folder.isEmpty() || folder == m_destFolder) return;
    m_destFolder = folder;
    if (!m_pSettings) return;
    m_pSettings->setValue(QLatin1String(kDestKey), m_destFolder);
    m_pSettings->sync();
}

void CRecentFileList::Add(const QString& path) {
    if (path.isEmpty()) return;
    m_items.removeAll(path);
    m_items.prepend(path);
    while (m_items.size() > kMaxEntries) m_items.removeLast();
    Save();
}

void CRecentFileList::Save() {
    if (!m_pSettings) return;
    m_pSettings->beginGroup(QLatin1String(kGroup));
    for (int i = 1; i <= kMaxEntries; ++i) {
        const QString key = QStringLiteral("File%1").arg(i);
        if (i <= m_items.size()) {
            m_pSettings->setValue(key, m_items[i - 1]);
        } else {
            m_pSettings->remove(key);
        }
    }
    m_pSettings->endGroup();
    m_pSettings->sync();
}
