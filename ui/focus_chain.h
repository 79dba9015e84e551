// Walking a window's Tab order for controls that keep Tab for themselves
// (the time fields' boxes, the profile panel's lists): once the user has
// stepped out of such a control, Tab goes on from it.
#pragma once

class QWidget;

// True when Tab would stop at `w`: it takes the focus by Tab, is enabled
// and shown in its window, and passes the focus to no proxy.
bool IsTabStop(const QWidget* w);

// The next Tab stop after `from` in its window's Tab order (the one before
// it when `forward` is false); null when there is none but `from`.
QWidget* NextTabStop(const QWidget* from, bool forward);

// The first Tab stop inside `container`; null when it holds none.
QWidget* FirstTabStopIn(const QWidget* container);
