// The About box: version, the maker's web address as a link opened in the
// desktop's browser, the contact address and a notice line.
#pragma once

#include <QDialog>

class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
