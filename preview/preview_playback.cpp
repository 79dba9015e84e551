// CPreviewWnd: playing, pausing, stopping, the play timer, graph events,
// seeking and typed times.
#include <QAction>

#include "preview/preview_wnd.h"
#include "preview/range_slider.h"
#include "preview/time_field.h"
#include "preview/video_pane.h"
#include "preview/win_message.h"

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
        const auto d = static_cast<unsigned>(duration);
        m_slider->SetMaximum(static_cast<int>(d));
        m_slider->Enable(true);
        m_slider->repaint();
        m_beginField->setEnabled(true);
        m_beginField->SetMaximum(d);
        m_currentField->setEnabled(true);
        m_currentField->SetMaximum(d);
        // The maximum first: ShowValue ignores values above it.
        m_endField->SetMaximum(d);
        m_endField->ShowValue(d);
        m_endField->setEnabled(true);
        m_nBeginTime = 0;
        m_nEndTime = d;
    }
    // The first picture shows before playing starts.
    CueFrame();
    repaint();
}

void CPreviewWnd::OnPlay() {
    if (m_nPlayState == PlayState::Playing) return;
    if (IMediaControl* control = m_graph.Control()) {
        IMediaPosition* position = m_graph.Position();
        if (m_nBeginTime != 0 && position) position->put_CurrentPosition(m_nBeginTime);
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
        if (IMediaPosition* position = m_graph.Position())
            position->put_CurrentPosition(m_nBeginTime);
        PostWinMessage(m_slider, WM_SET_POSITION, 0, static_cast<LPARAM>(m_nBeginTime));
        m_currentField->ShowValue(m_nBeginTime);
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
    const auto seconds = static_cast<unsigned>(now);
    m_currentField->ShowValue(seconds);
    PostWinMessage(m_slider, WM_SET_POSITION, 0, static_cast<LPARAM>(seconds));
    if (static_cast<double>(m_nEndTime) <= now) OnStop();
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
                position->put_CurrentPosition(m_nBeginTime);
                m_beginField->ShowValue(m_nBeginTime);
                PostWinMessage(m_slider, WM_SET_POSITION, 0, static_cast<LPARAM>(m_nBeginTime));
                m_currentField->ShowValue(m_nBeginTime);
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
        PostWinMessage(m_slider, WM_SET_POSITION, 0, static_cast<LPARAM>(seconds));
        m_currentField->ShowValue(seconds);
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

void CPreviewWnd::OnTimeEdited(int field, unsigned value) {
    switch (field) {
        case IDC_BEGIN_TIME:
            if (value > m_nEndTime) {
                m_beginField->ShowValue(m_nBeginTime);
                return;
            }
            m_nBeginTime = value;
            PostWinMessage(m_slider, WM_SET_BEGIN, 0, static_cast<LPARAM>(value));
            return;
        case IDC_END_TIME:
            if (value < m_nBeginTime) {
                m_endField->ShowValue(m_nEndTime);
                return;
            }
            m_nEndTime = value;
            PostWinMessage(m_slider, WM_SET_END, 0, static_cast<LPARAM>(value));
            return;
        case IDC_CURRENT_TIME:
            if (value < m_nBeginTime || value > m_nEndTime) return;
            if (m_nPlayState == PlayState::Playing) OnPause();
            SeekTo(value);
            return;
        default:
            return;
    }
}
