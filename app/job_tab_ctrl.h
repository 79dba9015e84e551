// The tab control under the preview: "Job Commands" and "Job Logs", tabs at
// the bottom, each tab half the control's width.
#pragma once

#include <QTabWidget>

class CJobTabCtrl : public QTabWidget {
    Q_OBJECT

public:
    explicit CJobTabCtrl(QWidget* parent = nullptr);

protected:
    void resizeEvent(QResizeEvent* event) override;
};
