#include "app/qt_dialog_seam.h"

#include <QFileDialog>
#include <QMessageBox>

QString QtFilterFromWin32(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList out;
    // Pairs of description and pattern; the pattern list uses ';' in Win32.
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty()) break;
        QString pattern = parts[i + 1];
        pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
        out << QStringLiteral("%1 (%2)").arg(parts[i].section(QLatin1String(" ("), 0, 0), pattern);
    }
    return out.join(QStringLiteral(";;"));
}

MsgAnswer CQtDialogSeam::MessageBox(const std::string& text, const std::string& caption,
                                    MsgButtons buttons, MsgIcon icon) {
    QMessageBox box(m_pParent);
    box.setWindowTitle(QString::fromStdString(caption));
    box.setText(QString::fromStdString(text));
    switch (icon) {
        case MsgIcon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case MsgIcon::Warning:
            box.setIcon(QMessageBox::Warning);
            break;
        case MsgIcon::Error:
            box.setIcon(QMessageBox::Critical);
            break;
        case MsgIcon::Question:
            box.setIcon(QMessageBox::Question);
            break;
        case MsgIcon::None:
            break;
    }
    switch (buttons) {
        case MsgButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case MsgButtons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case MsgButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Ok:
            return MsgAnswer::Ok;
        case QMessageBox::Yes:
            return MsgAnswer::Yes;
        case QMessageBox::No:
            return MsgAnswer::No;
        default:
            return MsgAnswer::Cancel;
    }
}

bool CQtDialogSeam::OpenFileName(const std::string& title, const std::string& filter,
                                 std::string& path) {
    const QString chosen =
        QFileDialog::getOpenFileName(m_pParent, QString::fromStdString(title),
                                     QString::fromStdString(path), QtFilterFromWin32(filter));
    if (chosen.isEmpty()) return false;
    path = chosen.toStdString();
    return true;
}

bool CQtDialogSeam::SaveFileName(const std::string& title, const std::string& filter,
                                 const std::string& defaultExt, std::string& path) {
    QFileDialog dialog(m_pParent, QString::fromStdString(title), QString::fromStdString(path),
                       QtFilterFromWin32(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QString::fromStdString(defaultExt));
    // The save dialog asks before overwriting; Qt's does so by default.
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    path = dialog.selectedFiles().first().toStdString();
    return true;
}
