#include "ui/menu_mnemonic.h"

namespace {

bool LabelHasMnemonic(const QString& text, QChar upper) {
    const qsizetype tab = text.indexOf(QLatin1Char('\t'));
    const QString label = tab >= 0 ? text.left(tab) : text;
    for (qsizetype i = 0; i + 1 < label.size(); ++i) {
        if (label[i] != QLatin1Char('&')) continue;
        const bool escaped = i > 0 && label[i - 1] == QLatin1Char('&');
        if (!escaped && label[i + 1].toUpper() == upper) return true;
    }
    return false;
}

}  // namespace

int FindMenuItemByChar(const QStringList& labels, QChar ch) {
    const QChar upper = ch.toUpper();
    for (qsizetype i = 0; i < labels.size(); ++i) {
        if (LabelHasMnemonic(labels[i], upper)) return static_cast<int>(i);
    }
    return -1;
}
