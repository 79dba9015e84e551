// CRangeModel: the one owner of the range to convert and of the play
// position, in whole seconds: begin, end, position and the maximum (the
// loaded source's duration). The range slider, the three time fields and
// the preview window observe it through its signals and change it through
// its setters; nobody else keeps the values.
//
// Rules:
//   - a load sets begin 0, end and maximum the duration, position 0;
//   - begin is never past end: a begin after the end, or an end before the
//     begin, is refused and changes nothing (begin equal to end is fine);
//   - values above the maximum are clamped to it;
//   - a typed seek must lie within the range; the slider's marker may stop
//     a few pixels outside it, as it is drawn, and seeks there;
//   - closing the media keeps begin and end (the job may still read them)
//     until the next load replaces them.
//
// The position is the player's: the preview window reports it with
// SetPosition; a user who wants it elsewhere asks with Seek, which the
// player answers by seeking and reporting the new position.
//
// No display needed; every call and signal on the user-interface thread.
#pragma once

#include <QObject>

enum class SeekOrigin {
    Slider,     // the marker was dropped, or a handle pushed it along
    TypedTime,  // typed into the current-time field: playback pauses first
};

class CRangeModel : public QObject {
    Q_OBJECT

public:
    explicit CRangeModel(QObject* parent = nullptr);

    unsigned Begin() const { return m_nBegin; }
    unsigned End() const { return m_nEnd; }
    unsigned Position() const { return m_nPosition; }
    unsigned Maximum() const { return m_nMax; }
    // True from a load until the media is closed.
    bool IsLoaded() const { return m_bLoaded; }

    // A source of `duration` seconds was loaded.
    void Load(unsigned duration);
    // The media was closed: position 0; begin and end stay.
    void Close();

    // False, and nothing changes, when refused.
    bool SetBegin(unsigned seconds);
    bool SetEnd(unsigned seconds);
    bool Seek(unsigned seconds, SeekOrigin origin);

    // Where the player is now.
    void SetPosition(unsigned seconds);

signals:
    void Loaded(unsigned duration);
    void Closed();
    void BeginChanged(unsigned seconds);
    void EndChanged(unsigned seconds);
    void PositionChanged(unsigned seconds);
    // For the player: seek to `seconds` (already clamped and checked).
    void SeekRequested(unsigned seconds, SeekOrigin origin);

private:
    unsigned Clamp(unsigned seconds) const { return seconds > m_nMax ? m_nMax : seconds; }

    unsigned m_nBegin = 0;
    unsigned m_nEnd = 0;
    unsigned m_nPosition = 0;
    unsigned m_nMax = 0;
    bool m_bLoaded = false;
};
