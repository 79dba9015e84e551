// The help window: shows pages of the program's CHM help file, following
// links inside it. Help does nothing when the file or chmlib is missing.
#pragma once

#include <QTextBrowser>
#include <memory>
#include <string>

class CChmReader;

class CHelpWindow : public QTextBrowser {
    Q_OBJECT

public:
    explicit CHelpWindow(QWidget* parent = nullptr);
    ~CHelpWindow() override;

    // "dir/zevhelp.chm::/intro.htm": opens the file (once) and shows the
    // topic. False, with nothing shown, when the file, chmlib or the topic
    // is missing.
    bool ShowTopic(const std::string& helpPath);

protected:
    QVariant loadResource(int type, const QUrl& name) override;

private:
    std::string m_file;
    std::unique_ptr<CChmReader> m_reader;
};

// The help path of the program: its directory, "zevhelp.chm::/intro.htm".
std::string ProgramHelpPath(const std::string& programDir);
