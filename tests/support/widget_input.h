// Driving widgets as a user does, headless: choosing list entries through
// the drop-down.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QStringList>
#include <QTest>
#include <algorithm>
#include <string>

// Drops the list down and clicks the entry at `index`, as a user picks it.
inline void ChooseEntry(QComboBox* combo, int index) {
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    const QModelIndex entry = view->model()->index(index, 0);
    view->scrollTo(entry);
    QApplication::processEvents();
    const QRect item = view->visualRect(entry);
    // Entries may be wider than a narrow list: click inside both.
    const QPoint point(std::min(item.center().x(), view->viewport()->width() / 2),
                       item.center().y());
    ASSERT_TRUE(view->viewport()->rect().contains(point)) << "entry " << index << " not shown";
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, point);
    QApplication::processEvents();
    ASSERT_FALSE(view->isVisible()) << "the list stayed down";
}

inline void ChooseText(QComboBox* combo, const QString& text) {
    const int index = combo->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    ChooseEntry(combo, index);
}

inline QStringList Entries(const QComboBox* combo) {
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i) texts << combo->itemText(i);
    return texts;
}

inline std::string Std(const QString& s) {
    return s.toStdString();
}
