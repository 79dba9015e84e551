// The typed-character rule of the flat menus: a key picks the first item
// whose label has "&" before that letter.
#pragma once

#include <QChar>
#include <QStringList>

// Position of the first item whose label (the text before a Tab) has an "&"
// not itself preceded by "&" and followed by `ch` (compared in upper case);
// -1 when no item matches.
int FindMenuItemByChar(const QStringList& labels, QChar ch);
