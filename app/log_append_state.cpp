#include "app/log_append_state.h"

std::u16string NormalizeLogPiece(const std::u16string& piece, bool* transient) {
    const bool isTransient =
        !piece.empty() && piece.back() == u'\r';  // "\r\n" ends in '\n', so not transient
    std::u16string out;
    out.reserve(piece.size());
    for (std::size_t i = 0; i < piece.size(); ++i) {
        const char16_t c = piece[i];
        if (c == u'\r') {
            // "\r\n" is one line end; a lone "\r" inside a piece starts a new
            // line as well, a trailing one only marks the piece transient.
            if (i + 1 < piece.size() && piece[i + 1] == u'\n') continue;
            if (i + 1 == piece.size()) continue;
            out.push_back(u'\n');
        } else {
            out.push_back(c);
        }
    }
    if (transient) *transient = isTransient;
    return out;
}

CLogAppendState::CLogAppendState(std::size_t limit) : m_nLimit(limit ? limit : 1) {}

LogEdit CLogAppendState::Append(const std::u16string& rawPiece) {
    bool transient = false;
    LogEdit edit;
    edit.piece = NormalizeLogPiece(rawPiece, &transient);
    // A piece longer than the whole limit keeps its end: the newest text.
    if (edit.piece.size() > m_nLimit) edit.piece.erase(0, edit.piece.size() - m_nLimit);

    std::size_t from = m_nEnd;
    if (m_bTransient) from = m_nEnd - m_nLastLength;

    // Room for the piece: drop whole lines from the front, oldest first. The
    // kept text is what stays before `from`; a cut inside a line drops the
    // rest of that line too, so no half line remains at the top.
    const std::size_t keptAfterReplace = from;
    if (keptAfterReplace + edit.piece.size() > m_nLimit) {
        const std::size_t mustDrop = keptAfterReplace + edit.piece.size() - m_nLimit;
        std::size_t drop = mustDrop;
        const std::size_t nl = m_text.find(u'\n', mustDrop - 1);
        drop = (nl == std::u16string::npos || nl >= from) ? from : nl + 1;
        edit.dropFront = drop;
        m_text.erase(0, drop);
        from -= drop;
        m_nEnd -= drop;
    }
    edit.replaceFrom = from;
    edit.replaceTo = m_nEnd;
    m_text.replace(from, m_nEnd - from, edit.piece);
    m_nEnd = from + edit.piece.size();
    m_nLastLength = edit.piece.size();
    m_bTransient = transient;
    return edit;
}
