// The window from the keyboard, as a user without a pointer drives it: the
// preview's keys, Tab and F6, and what assistive tools read of the
// controls we draw ourselves.
#include <QAccessible>
#include <QApplication>
#include <QHash>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QToolButton>

#include "app/job_panel.h"
#include "app/job_tab_ctrl.h"
#include "app/preview_pane_adapter.h"
#include "app/recent_file_list.h"
#include "preview/preview_wnd.h"
#include "preview/range_slider.h"
#include "preview/time_field.h"
#include "profiles/widgets/output_settings_panel.h"
#include "ui/drop_combo.h"
#include "ui/hover_button.h"
#include "ui/status_bar_xp.h"
#include "zev_frame_test_support.h"

namespace {

void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), key, mods);
    QApplication::processEvents();  // a Tab posted by a field or list
}

}  // namespace

class KeysTest : public FrameTest {
protected:
    CPreviewWnd* Wnd() const { return m_preview->Preview(); }
    CRangeModel& Range() const { return Wnd()->Range(); }
    QString FieldText(int id) const { return Wnd()->Field(id)->Text(); }
    // A click on the preview away from its controls: it takes the focus.
    void FocusPreview() { QTest::mouseClick(Wnd(), Qt::LeftButton, {}, QPoint(5, 5)); }
};

TEST_F(KeysTest, MarkPlayAndSeekFromTheKeyboard) {
    MakeFrame();
    LoadThroughBrowse(s_longClip);
    FocusPreview();
    Key(Qt::Key_Right, Qt::ShiftModifier);
    Key(Qt::Key_Right);
    Key(Qt::Key_I);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    Key(Qt::Key_Left);
    Key(Qt::Key_O);
    EXPECT_EQ(11u, Range().Begin());
    EXPECT_EQ(30u, Range().End());
    EXPECT_EQ(11u, Wnd()->Slider()->Model().Begin());
    EXPECT_EQ(30u, Wnd()->Slider()->Model().End());
    EXPECT_EQ("00:00:11", FieldText(IDC_BEGIN_TIME));
    EXPECT_EQ("00:00:30", FieldText(IDC_END_TIME));
    EXPECT_EQ("00:00:30", FieldText(IDC_CURRENT_TIME));

    // A begin after the end, or an end before the begin, is refused.
    Key(Qt::Key_Right, Qt::ShiftModifier);
    Key(Qt::Key_I);
    EXPECT_EQ(11u, Range().Begin());
    Key(Qt::Key_Home);
    EXPECT_EQ("00:00:11", FieldText(IDC_CURRENT_TIME));
    Key(Qt::Key_Left);
    Key(Qt::Key_Left);
    Key(Qt::Key_O);
    EXPECT_EQ(30u, Range().End());
    EXPECT_EQ("00:00:30", FieldText(IDC_END_TIME));
    EXPECT_EQ(9u, Range().Position());
    Key(Qt::Key_End);
    EXPECT_EQ(30u, Range().Position());
    Key(Qt::Key_Left, Qt::ShiftModifier);
    Key(Qt::Key_Left, Qt::ShiftModifier);
    Key(Qt::Key_Left, Qt::ShiftModifier);
    Key(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(0u, Range().Position());

    // A list chosen from with the pointer keeps the focus, not the keys.
    m_preview->Panel()->Control(panel_id::kProfileList)->setFocus(Qt::MouseFocusReason);
    Key(Qt::Key_Space);
    EXPECT_EQ(PlayState::Playing, Wnd()->GetPlayState());
    Key(Qt::Key_Space);
    EXPECT_EQ(PlayState::Paused, Wnd()->GetPlayState());
    // A text field being typed in keeps its keys.
    const unsigned at = Range().Position();
    QTest::mouseClick(Wnd()->Field(IDC_END_TIME)->Box(2), Qt::LeftButton);
    Key(Qt::Key_Space);
    Key(Qt::Key_I);
    Key(Qt::Key_End);
    EXPECT_EQ(PlayState::Paused, Wnd()->GetPlayState());
    EXPECT_EQ(11u, Range().Begin());
    EXPECT_EQ(at, Range().Position());
}

TEST_F(KeysTest, KeysDoNothingWhileAJobRuns) {
    MakeFrame([](MainFrameServices& s) {
        s.finishWaitMs = 100;
        s.progressIntervalMs = 100;
    });
    LoadThroughBrowse(s_longClip);
    FocusPreview();
    Key(Qt::Key_Right, Qt::ShiftModifier);
    ASSERT_EQ(10u, Range().Position());

    bool pressed = false;
    QObject::connect(m_frame.get(), &CMainFrame::ProgressShown, m_frame.get(), [&] {
        if (pressed || m_frame->Session().Progress() <= 0) return;
        pressed = true;
        FocusPreview();
        for (Qt::Key k : {Qt::Key_I, Qt::Key_O, Qt::Key_Space, Qt::Key_Right, Qt::Key_Home,
                          Qt::Key_End, Qt::Key_Left})
            Key(k);
        Key(Qt::Key_Right, Qt::ShiftModifier);
        EXPECT_EQ(0u, Range().Begin());
        EXPECT_EQ(60u, Range().End());
        EXPECT_EQ(10u, Range().Position());
        EXPECT_NE(PlayState::Playing, Wnd()->GetPlayState());
        m_dialogs.answers.push_back(MsgAnswer::Yes);
        QTest::mouseClick(m_frame->JobPanel()->StopButton(), Qt::LeftButton);
    });
    ConvertTo(m_dir.Path("keys.wmv"));
    ASSERT_TRUE(pressed);
    // Once the job has ended they work again.
    FocusPreview();
    Key(Qt::Key_Right);
    EXPECT_EQ(11u, Range().Position());
}

TEST_F(KeysTest, TabReachesEveryControlInOrderAndF6MovesBetweenThePanes) {
    MakeFrame();
    LoadThroughBrowse(s_clip);
    COutputSettingsPanel* panel = m_preview->Panel();
    CJobPanel* job = m_frame->JobPanel();
    QHash<const QWidget*, QString> names;
    const std::pair<const QWidget*, QString> known[] = {
        {Wnd()->ToolbarButton(ID_PLAY), "Play"},
        {Wnd()->Field(IDC_BEGIN_TIME)->Box(0), "begin hours"},
        {Wnd()->Field(IDC_CURRENT_TIME)->Box(0), "current hours"},
        {Wnd()->Field(IDC_END_TIME)->Box(0), "end hours"},
        {panel->Control(panel_id::kAdd), "Add"},
        {panel->Control(panel_id::kDelete), "Delete"},
        {panel->Control(panel_id::kSave), "Save"},
        {m_frame->Tabs()->tabBar(), "tabs"},
        {job->SourceBrowseButton(), "source"},
        {job->DestBrowseButton(), "destination"},
        {job->ConvertButton(), "Convert"}};
    for (const auto& [w, name] : known) names.insert(w, name);
    for (int id = panel_id::kProfileList; id <= panel_id::kSampleRate; ++id)
        names.insert(panel->Control(id), QString::number(id));
    const auto nameOf = [&](const QWidget* w) -> QString {
        if (w == Wnd()->Slider())
            return Wnd()->Slider()->FocusedHandle() == SliderElement::End ? "slider end"
                                                                          : "slider begin";
        return names.value(w, w ? QString::fromLatin1(w->metaObject()->className()) : "none");
    };

    Wnd()->ToolbarButton(ID_PLAY)->setFocus(Qt::TabFocusReason);
    QStringList visited;
    for (int step = 0; step < 40; ++step) {
        const QWidget* w = QApplication::focusWidget();
        visited << nameOf(w);
        // A time field and the last two lists keep Tab: Enter steps out.
        if (qobject_cast<const CTimeDigitBox*>(w) || w == panel->Control(panel_id::kChannels) ||
            w == panel->Control(panel_id::kSampleRate))
            Key(Qt::Key_Return);
        Key(Qt::Key_Tab);
        if (QApplication::focusWidget() == Wnd()->ToolbarButton(ID_PLAY)) break;
    }
    EXPECT_EQ(
        (QStringList{"Play",      "slider begin", "slider end", "begin hours", "current hours",
                     "end hours", "1000",         "1001",       "1002",        "1003",
                     "1004",      "1005",         "1006",       "1007",        "Add",
                     "Delete",    "Save",         "tabs",       "source",      "destination",
                     "Convert"}),
        visited);

    // F6 to the other pane and back, to the control last focused there.
    Wnd()->Slider()->setFocus(Qt::MouseFocusReason);
    Key(Qt::Key_F6);
    EXPECT_EQ("Convert", nameOf(QApplication::focusWidget()));
    Key(Qt::Key_F6, Qt::ShiftModifier);
    EXPECT_EQ(Wnd()->Slider(), QApplication::focusWidget());
    // Also from a field being typed in.
    Wnd()->Field(IDC_END_TIME)->Box(1)->setFocus(Qt::MouseFocusReason);
    Key(Qt::Key_F6);
    EXPECT_TRUE(m_frame->Tabs()->isAncestorOf(QApplication::focusWidget()));
}

TEST_F(KeysTest, OurControlsTellToolsTheirNameRoleAndValue) {
    MakeFrame();
    LoadThroughBrowse(s_clip);
    struct Expected {
        QWidget* control;
        QAccessible::Role role;
        QString name;
        QString value;
    };
    CStatusBarXP* status = m_frame->StatusBar();
    CJobPanel* job = m_frame->JobPanel();
    COutputSettingsPanel* panel = m_preview->Panel();
    const std::vector<Expected> controls{
        {Wnd()->Slider(), QAccessible::Slider, "Begin Time", "00:00:00"},
        {Wnd()->Field(IDC_BEGIN_TIME), QAccessible::Grouping, "Start Time", "00:00:00"},
        {Wnd()->Field(IDC_CURRENT_TIME), QAccessible::Grouping, "Current Time", "00:00:00"},
        {Wnd()->Field(IDC_END_TIME), QAccessible::Grouping, "End Time", "00:00:04"},
        // The transport buttons show a pressed state: toggles to the tools.
        {Wnd()->ToolbarButton(ID_PLAY), QAccessible::CheckBox, "Play", ""},
        {Wnd()->ToolbarButton(ID_PAUSE), QAccessible::CheckBox, "Pause", ""},
        {Wnd()->ToolbarButton(ID_STOP), QAccessible::CheckBox, "Stop", ""},
        {job->ConvertButton(), QAccessible::Button, "Convert", ""},
        {job->StopButton(), QAccessible::Button, "Stop", ""},
        {panel->Control(panel_id::kAdd), QAccessible::Button, "Add", ""},
        {panel->Control(panel_id::kDelete), QAccessible::Button, "Delete", ""},
        {panel->Control(panel_id::kSave), QAccessible::Button, "Save", ""},
        {status->Pane(0), QAccessible::StaticText, status->PaneText(0), status->PaneText(0)},
        {status->Pane(1), QAccessible::StaticText, "Caps Lock", "CAP"},
        {status->Pane(2), QAccessible::StaticText, "Num Lock", "NUM"},
        {status->Pane(3), QAccessible::StaticText, "Scroll Lock", "SCRL"}};
    for (const Expected& e : controls) {
        QAccessibleInterface* tool = QAccessible::queryAccessibleInterface(e.control);
        ASSERT_NE(tool, nullptr) << e.name.toStdString();
        EXPECT_FALSE(tool->text(QAccessible::Name).isEmpty());
        EXPECT_EQ(e.name, tool->text(QAccessible::Name));
        EXPECT_EQ(e.role, tool->role()) << e.name.toStdString();
        EXPECT_EQ(e.value, tool->text(QAccessible::Value)) << e.name.toStdString();
    }

    // The slider's value follows its keys, and the field shows the same.
    QAccessibleInterface* slider = QAccessible::queryAccessibleInterface(Wnd()->Slider());
    QTest::mouseClick(Wnd()->Slider(), Qt::LeftButton, {}, QPoint(4, 10));  // the begin handle
    Key(Qt::Key_Right);
    Key(Qt::Key_Right);
    EXPECT_EQ(2u, slider->valueInterface()->currentValue().toUInt());
    EXPECT_EQ("00:00:02", slider->text(QAccessible::Value));
    EXPECT_EQ("00:00:02", QAccessible::queryAccessibleInterface(Wnd()->Field(IDC_BEGIN_TIME))
                              ->text(QAccessible::Value));
}
