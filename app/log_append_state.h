// The log view's text model: where each appended piece goes, without a
// display. A piece that ends in "\r" alone is transient and the next piece
// replaces it, time stamp included. When the text would pass the limit the
// oldest whole lines are dropped first, so the newest always show and the
// append position stays right.
#pragma once

#include <cstddef>
#include <string>

// One change to apply to the widget's text, in this order: remove the first
// `dropFront` characters, then replace [replaceFrom, replaceTo) with `piece`.
// Positions count after the drop.
struct LogEdit {
    std::size_t dropFront = 0;
    std::size_t replaceFrom = 0;
    std::size_t replaceTo = 0;
    std::u16string piece;
};

class CLogAppendState {
public:
    // The edit control's text limit.
    static constexpr std::size_t kDefaultLimit = 1048575;

    explicit CLogAppendState(std::size_t limit = kDefaultLimit);

    // `piece` is the stamped text as the engine sent it ("\r\n" line ends).
    // Line ends become "\n" (one character, as the widget counts them); a
    // trailing lone "\r" marks the piece transient and is not shown.
    LogEdit Append(const std::u16string& piece);

    const std::u16string& Text() const { return m_text; }
    std::size_t EndPosition() const { return m_nEnd; }
    bool LastWasTransient() const { return m_bTransient; }
    std::size_t Limit() const { return m_nLimit; }

private:
    std::size_t m_nLimit;
    std::u16string m_text;
    std::size_t m_nEnd = 0;
    std::size_t m_nLastLength = 0;
    bool m_bTransient = false;
};

// Line ends of a piece as the view shows them; `transient` tells whether it
// ended in a lone "\r".
std::u16string NormalizeLogPiece(const std::u16string& piece, bool* transient);
