// The range slider without a window: its geometry, the mapping between
// seconds and pixels, and what presses, moves, releases, double clicks and
// the parent's messages do to it. The widget (range_slider.h) feeds it the
// pointer and carries out the messages it returns.
//
// Geometry for a client area W by H: the track runs from (0, H/4) to
// (W, 3H/4); the begin handle lies left of its position, the end handle
// right of it, the 3-pixel marker ends at its position. Values are read
// from the begin handle's right edge, the end handle's left edge and the
// marker's right edge.
#pragma once

#include <string>
#include <vector>

struct SliderRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    // As the platform tests points: the right and bottom edges are outside.
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const SliderRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

// What the user did with the slider, for the range and the player.
struct SliderAction {
    enum Kind {
        MarkerGrabbed,  // a marker drag started (playback pauses for it)
        Seek,           // the marker went to `seconds`
        SetBegin,       // a begin handle was let go at `seconds`
        SetEnd,         // an end handle was let go at `seconds`
    };
    Kind kind;
    unsigned seconds;
    bool operator==(const SliderAction& o) const { return kind == o.kind && seconds == o.seconds; }
};

enum class SliderElement { None, Begin, End, Marker };

class CRangeSliderModel {
public:
    static constexpr int kHandleWidth = 8;
    static constexpr int kMarkerWidth = 3;

    // New client size: the track is recomputed and the elements placed at
    // their values (at their defaults while the maximum is 0).
    void Resize(int width, int height);
    // Default places: begin and marker at 8, end at W - 8.
    void ResetGeometry();
    // All values 0, default places.
    void Reset();
    // The maximum and the end value; moves nothing (called right after a
    // reset, when the handles stand at their defaults).
    void SetMaximum(int seconds);

    int PositionOf(unsigned seconds) const;
    unsigned ValueAt(int x) const;

    // The range's values as the slider shows them.
    void SetPosition(unsigned seconds);
    void SetBegin(unsigned seconds);
    // The marker right of the new end goes two seconds before it (to 0 for
    // an end below 2 s).
    void SetEnd(unsigned seconds);

    // The pointer. Each returns what the user did, in order.
    std::vector<SliderAction> Press(int x, int y);
    std::vector<SliderAction> Move(int x, int y);
    std::vector<SliderAction> Release();
    // The pointer left the slider: a marker drag is committed, a begin or
    // end drag is dropped where it was drawn.
    std::vector<SliderAction> Leave();
    std::vector<SliderAction> DoubleClick(int x, int y);

    // The element under a point (the marker wins where it overlaps a
    // handle), and its tooltip text, e.g. "Begin Time: 00:01:05"; empty
    // over nothing. `rect` receives the element's rectangle.
    SliderElement HitTest(int x, int y) const;
    std::string TipText(int x, int y, SliderRect* rect = nullptr) const;

    unsigned Current() const { return m_nCurrent; }
    unsigned Begin() const { return m_nBegin; }
    unsigned End() const { return m_nEnd; }
    int Maximum() const { return m_nMax; }
    int DragMode() const { return m_nDragMode; }
    int Width() const { return m_nWidth; }
    const SliderRect& Track() const { return m_rcTrack; }
    const SliderRect& BeginRect() const { return m_rcBegin; }
    const SliderRect& EndRect() const { return m_rcEnd; }
    const SliderRect& MarkerRect() const { return m_rcMarker; }

private:
    void PlaceBegin(int x);
    void PlaceEnd(int x);
    void PlaceMarker(int x);
    int BeginPos() const { return m_rcBegin.right; }
    int EndPos() const { return m_rcEnd.left; }
    int MarkerPos() const { return m_rcMarker.right; }

    unsigned m_nCurrent = 0;
    unsigned m_nBegin = 0;
    unsigned m_nEnd = 0;
    SliderRect m_rcTrack;
    SliderRect m_rcBegin;
    SliderRect m_rcEnd;
    int m_nDragMode = 0;  // 0 none, 1 begin, 2 end, 3 marker
    SliderRect m_rcMarker;
    int m_nMax = 0;
    int m_nWidth = 0;
    int m_nHeight = 0;
};

// "%02d:%02d:%02d", hours not limited to 24.
std::string FormatTime(unsigned seconds);
