// CPreviewWnd: playing, pausing, stopping, the play timer, graph events
// and seeking, also from the program's keys. The play position goes to the
// range model, which the slider and the current-time field show.
#include <QAction>
#include <algorithm>

#include "preview/preview_wnd.h"
#include "preview/video_pane.h"

void CPreviewWnd::StartPlayTimer() {
    m_playTimer.start(kPreviewTimerMs, this);
}

void CPreviewWnd::CueFrame() {
    IMediaControl* control = m_graph.Control();
    if (!control) return;
    OAFilterState state = State_Stopped;
    if (SUCCEEDED(control->GetState(0, &state)) && state == State_Stopped) control->Pause();
}

void CPreviewWnd::OnGraphReady(WPARAM wParam) {
    if (wParam != 0) return;
    m_nPlayState = PlayState::Ready;
    m_actions[0]->setEnabled(true);
    SetStatus("Ready to Play");
    REFTIME duration = 0;
    IMediaPosition* position = m_graph.Position();
    if (position && position->get_Duration(&duration) == S_OK) {
        // Begin 0, end the duration; the slider and the fields follow.
        m_range.Load(static_cast<unsigned>(duration));
    }
    // The first picture shows before playing starts.
    CueFrame();
    repaint();
}

void CPreviewWnd::OnPlay() {
    if (m_nPlayState == PlayState::Playing) return;
    if (IMediaControl* control = m_graph.Control()) {
        IMediaPosition* position = m_graph.Position();
        const unsigned begin = m_range.Begin();
        if (begin != 0 && position) position->put_CurrentPosition(begin);
        control->Run();
    }
    SetButtons(true, true, false, true, true);
    m_nPlayState = PlayState::Playing;
    StartPlayTimer();
}

void CPreviewWnd::OnPause() {
    if (m_nPlayState == PlayState::Paused) return;
    if (IMediaControl* control = m_graph.Control()) {
        control->Pause();
        control->StopWhenReady();
    }
    SetButtons(false, true, true, true, true);
    m_nPlayState = PlayState::Paused;
}

void CPreviewWnd::OnStop() {
    if (m_nPlayState == PlayState::Stopped) return;
    if (IMediaControl* control = m_graph.Control()) {
        control->Stop();
        const unsigned begin = m_range.Begin();
        if (IMediaPosition* position = m_graph.Position()) position->put_CurrentPosition(begin);
        m_range.SetPosition(begin);
        CueFrame();
    }
    SetButtons(false, true, false, false, false);
    m_nPlayState = PlayState::Stopped;
    m_playTimer.stop();
}

void CPreviewWnd::OnTimerTick() {
    IMediaPosition* position = m_graph.Position();
    if (m_nPlayState != PlayState::Playing || !position) return;
    REFTIME now = 0;
    position->get_CurrentPosition(&now);
    m_range.SetPosition(static_cast<unsigned>(now));
    if (static_cast<double>(m_range.End()) <= now) OnStop();
    if (now > 0 && now < 2) repaint();
}

void CPreviewWnd::OnGraphEvent() {
    IMediaEventEx* events = m_graph.Events();
    if (!events) return;
    long code = 0;
    LONG_PTR param1 = 0, param2 = 0;
    while (SUCCEEDED(events->GetEvent(&code, &param1, &param2, 0))) {
        if (code == EC_COMPLETE) {
            IMediaControl* control = m_graph.Control();
            IMediaPosition* position = m_graph.Position();
            if (position && control) {
                control->Stop();
                position->put_CurrentPosition(m_range.Begin());
                m_range.SetPosition(m_range.Begin());
                CueFrame();
            }
            m_nPlayState = PlayState::Ready;
            SetButtons(false, true, false, false, false);
            SetStatus("Ready to Play");
            repaint();
        }
        events->FreeEventParams(code, param1, param2);
        // The play timer keeps running; its ticks do nothing outside Playing.
    }
}

void CPreviewWnd::SeekTo(unsigned seconds) {
    IMediaControl* control = m_graph.Control();
    if (!control) return;
    if (IMediaPosition* position = m_graph.Position()) {
        position->put_CurrentPosition(seconds);
        m_range.SetPosition(seconds);
    }
    if (m_nPlayState == PlayState::DragPaused) {
        StartPlayTimer();
        control->Run();
        SetButtons(true, true, false, true, true);
        m_nPlayState = PlayState::Playing;
    } else if (m_nPlayState != PlayState::Playing) {
        // The new picture shows at once also while not playing.
        CueFrame();
    }
}

void CPreviewWnd::OnDragStart() {
    if (m_nPlayState != PlayState::Playing || !m_graph.Control()) return;
    OnPause();
    m_nPlayState = PlayState::DragPaused;
}

void CPreviewWnd::OnSeekRequested(unsigned seconds, SeekOrigin origin) {
    // A typed time pauses playback; a dropped marker plays on as it was.
    if (origin == SeekOrigin::TypedTime && m_nPlayState == PlayState::Playing) OnPause();
    SeekTo(seconds);
}

void CPreviewWnd::ReportPlayPosition() {
    IMediaPosition* position = m_graph.Position();
    if (m_nPlayState != PlayState::Playing || !position) return;
    REFTIME now = 0;
    if (SUCCEEDED(position->get_CurrentPosition(&now)) && now >= 0)
        m_range.SetPosition(static_cast<unsigned>(now));
}

void CPreviewWnd::PlayOrPause() {
    // The buttons' own actions: a disabled one does nothing.
    m_actions[m_nPlayState == PlayState::Playing ? 1 : 0]->trigger();
}

void CPreviewWnd::MarkBegin() {
    if (!m_range.IsLoaded()) return;
    ReportPlayPosition();
    m_range.SetBegin(m_range.Position());
}

void CPreviewWnd::MarkEnd() {
    if (!m_range.IsLoaded()) return;
    ReportPlayPosition();
    m_range.SetEnd(m_range.Position());
}

void CPreviewWnd::SeekBy(int seconds) {
    if (!m_range.IsLoaded()) return;
    ReportPlayPosition();
    const long long target = static_cast<long long>(m_range.Position()) + seconds;
    m_range.Seek(static_cast<unsigned>(std::clamp<long long>(target, 0, m_range.Maximum())),
                 SeekOrigin::Slider);
}

void CPreviewWnd::SeekToBegin() {
    if (m_range.IsLoaded()) m_range.Seek(m_range.Begin(), SeekOrigin::Slider);
}

void CPreviewWnd::SeekToEnd() {
    if (m_range.IsLoaded()) m_range.Seek(m_range.End(), SeekOrigin::Slider);
}
