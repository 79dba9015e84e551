#include "ui/qt_dialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStringList>

namespace {

QString FromText(const std::string& s) {
    return QString::fromLocal8Bit(s.data(), s.size());
}

std::string ToText(const QString& s) {
    return s.toLocal8Bit().toStdString();
}

// "Movies (*.avi;*.mpg)|*.avi;*.mpg|All Files (*.*)|*.*||", the window
// framework's filter form, becomes "Movies (*.avi *.mpg);;All Files (*)".
// A filter without "|" is taken to be in Qt's form already.
QString QtFilter(const std::string& filter) {
    const QString text = FromText(filter);
    if (!text.contains(QLatin1Char('|'))) return text;
    const QStringList parts = text.split(QLatin1Char('|'), Qt::SkipEmptyParts);
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        patterns.replace(QStringLiteral("*.*"), QStringLiteral("*"));
        QString label = parts[i];
        const int paren = label.indexOf(QLatin1Char('('));
        if (paren >= 0) label = label.left(paren).trimmed();
        entries << QStringLiteral("%1 (%2)").arg(label, patterns);
    }
    return entries.join(QStringLiteral(";;"));
}

}  // namespace

MsgAnswer CQtDialogs::MessageBox(const std::string& text, const std::string& caption,
                                 MsgButtons buttons, MsgIcon icon) {
    QMessageBox box(m_pParent);
    box.setWindowTitle(FromText(caption));
    box.setText(FromText(text));
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
            // Closing the box counts as its way out: Cancel, or No, or OK.
            return buttons == MsgButtons::Ok      ? MsgAnswer::Ok
                   : buttons == MsgButtons::YesNo ? MsgAnswer::No
                                                  : MsgAnswer::Cancel;
    }
}

bool CQtDialogs::OpenFileName(const std::string& title, const std::string& filter,
                              std::string& path) {
    const QString chosen =
        QFileDialog::getOpenFileName(m_pParent, FromText(title), FromText(path), QtFilter(filter));
    if (chosen.isEmpty()) return false;
    path = ToText(chosen);
    return true;
}

bool CQtDialogs::SaveFileName(const std::string& title, const std::string& filter,
                              const std::string& defaultExt, std::string& path) {
    QFileDialog dialog(m_pParent, FromText(title), QString(), QtFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    if (!defaultExt.empty()) dialog.setDefaultSuffix(FromText(defaultExt));
    // Opens in the proposed folder, with the proposed name filled in.
    const QFileInfo proposal(FromText(path));
    if (proposal.isDir()) {
        dialog.setDirectory(proposal.filePath());
    } else if (!path.empty()) {
        dialog.setDirectory(proposal.path());
        dialog.selectFile(proposal.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    path = ToText(dialog.selectedFiles().first());
    return true;
}
