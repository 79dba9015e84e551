#include "app/help_window.h"

#include <QUrl>

#include "convert/common/program_names.h"
#include "platform/help/chm_reader.h"

std::string ProgramHelpPath(const std::string& programDir) {
    return programDir + "/zevhelp.chm::/intro.htm";
}

CHelpWindow::CHelpWindow(QWidget* parent) : QTextBrowser(parent) {
    setWindowTitle(QString::fromLatin1(kProductName) + QStringLiteral(" Help"));
    setOpenLinks(true);
    setOpenExternalLinks(true);
    resize(640, 520);
}

CHelpWindow::~CHelpWindow() = default;

bool CHelpWindow::ShowTopic(const std::string& helpPath) {
    std::string file, topic;
    SplitHelpPath(helpPath, file, topic);
    if (!m_reader || file != m_file) {
        m_reader = CChmReader::Open(file);
        m_file = m_reader ? file : std::string();
    }
    if (!m_reader || !m_reader->Contains(topic)) return false;
    setSource(QUrl(QStringLiteral("chm:") + QString::fromStdString(topic)));
    return true;
}

QVariant CHelpWindow::loadResource(int type, const QUrl& name) {
    if (!m_reader) return {};
    // Links inside the pages are relative to the archive's root.
    std::string path = name.path().toStdString();
    if (path.empty() || path[0] != '/') path.insert(0, "/");
    std::string content;
    if (!m_reader->Read(path, content)) return {};
    if (type == QTextDocument::ImageResource) return QByteArray::fromStdString(content);
    return QString::fromUtf8(content.data(), static_cast<int>(content.size()));
}
