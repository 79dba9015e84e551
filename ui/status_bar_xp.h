// A status bar with flat panes: no sunken borders, a one-pixel frame in the
// button-shadow colour around each pane, at least 20 pixels high. Assistive
// tools see each pane as static text whose value is the text it shows,
// named by its accessible name (what an indicator stands for) or else by
// that text.
#pragma once

#include <QStatusBar>
#include <QStringList>
#include <vector>

class QLabel;

class CStatusBarXP : public QStatusBar {
    Q_OBJECT

public:
    static constexpr int kMinHeight = 20;

    explicit CStatusBarXP(QWidget* parent = nullptr);

    // One pane per text: the first stretches and gives way to fly-by
    // messages, the others keep their text's width on the right.
    bool SetIndicators(const QStringList& texts);
    int PaneCount() const { return static_cast<int>(m_panes.size()); }
    bool SetPaneText(int index, const QString& text);
    QString PaneText(int index) const;
    QLabel* Pane(int index) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<QLabel*> m_panes;
};
