// A parent widget that records the window messages its children send and
// post to it.
#pragma once

#include <QWidget>
#include <vector>

#include "preview/win_message.h"

struct RecordedMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class MessageRecorder : public QWidget {
public:
    std::vector<RecordedMessage> messages;

    std::vector<RecordedMessage> Of(UINT message) const {
        std::vector<RecordedMessage> out;
        for (const auto& m : messages)
            if (m.message == message) out.push_back(m);
        return out;
    }

protected:
    bool event(QEvent* e) override {
        if (e->type() == CWinMessageEvent::Type()) {
            auto* m = static_cast<CWinMessageEvent*>(e);
            messages.push_back({m->message, m->wParam, m->lParam});
            return true;
        }
        return QWidget::event(e);
    }
};
