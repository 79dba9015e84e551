// The "Job Logs" page: a read-only, unwrapped text view, blue on white, that
// receives time-stamped log pieces. Its text is never cleared; past the text
// limit the oldest lines give way.
#pragma once

#include <QPlainTextEdit>
#include <string>

#include "app/log_append_state.h"

class CLogView : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit CLogView(QWidget* parent = nullptr,
                      std::size_t limit = CLogAppendState::kDefaultLimit);

    // Stamps `text` (8-bit, as the engine wrote it) with the local time of
    // day and appends it; a piece ending in "\r" alone is replaced by the
    // next one. UI thread only.
    void AppendLine(const std::string& text);
    // The same without the time stamp: the piece as given.
    void AppendPiece(const std::string& piece);

    const CLogAppendState& AppendState() const { return m_state; }

protected:
    bool event(QEvent* event) override;

private:
    CLogAppendState m_state;
};
