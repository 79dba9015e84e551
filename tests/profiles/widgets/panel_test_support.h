// Driving the profile widgets as a user does, headless: choosing list
// entries through the drop-down, and a catalogue with known formats.
#pragma once

#include <QAbstractItemView>
#include <algorithm>
#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <QStringList>

#include "profiles/audio_format_catalog.h"

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

// Two channels: 8000 (12000, 16000), 22050 (32000), 44100 (64000, 128000,
// 96000), 32000 (40000). One channel: 8000 (8000), 22050 (16000),
// 44100 (48000, 64000).
inline void FillTestCatalog(CAudioFormatCatalog& c) {
    const AudioFormatEntry entries[] = {
        {2, 44100, 64000, 0, 0}, {2, 44100, 128000, 0, 1}, {2, 44100, 96000, 0, 2},
        {2, 22050, 32000, 0, 3}, {2, 8000, 12000, 0, 4},   {2, 8000, 16000, 0, 5},
        {2, 32000, 40000, 0, 6}, {1, 22050, 16000, 1, 0},  {1, 8000, 8000, 1, 1},
        {1, 44100, 48000, 1, 2}, {1, 44100, 64000, 1, 3},
    };
    for (const AudioFormatEntry& e : entries) c.AddFormat(e);
}

inline std::string Std(const QString& s) {
    return s.toStdString();
}
