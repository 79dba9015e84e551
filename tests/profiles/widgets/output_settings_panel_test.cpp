// The output settings panel with a real profile.cfg in a temporary folder,
// a catalogue of known formats and a scripted dialog seam; every action
// goes through the panel's controls.
#include <QLineEdit>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

#include "panel_test_support.h"
#include "profiles/widgets/add_profile_dlg.h"
#include "profiles/widgets/output_settings_panel.h"
#include "store_test_support.h"
#include "ui/drop_combo.h"

namespace {

constexpr const char* kFile =
    "3,1\n"
    "Default.640,480,220,15,64000,1,44100\n"
    "Small screen.320,240,128,15,16000,0,22050\n"
    "Big.1280,720,2000,30,128000,1,44100\n";

class PanelTest : public ::testing::Test {
protected:
    PanelTest() : path(dir.Path("profile.cfg")) {
        WriteFileBytes(path, kFile);
        CDropCombo::ResetSelectionAtDropDown();
    }
    void Open() {
        panel = std::make_unique<COutputSettingsPanel>(path, dialogs, nullptr, FillTestCatalog);
        panel->resize(426, 420);
        panel->show();
        panel->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(panel.get()));
    }
    QComboBox* List(int id) const { return qobject_cast<QComboBox*>(panel->Control(id)); }
    QLineEdit* Edit(int id) const { return qobject_cast<QLineEdit*>(panel->Control(id)); }
    QString Shown(int id) const { return List(id)->currentText(); }
    void Close() { panel.reset(); }

    TempDir dir;
    std::string path;
    ScriptedDialogs dialogs;
    std::unique_ptr<COutputSettingsPanel> panel;
};

}  // namespace

TEST_F(PanelTest, ListsHoldTheirEntriesInOrder) {
    Open();
    const QStringList fps = Entries(List(panel_id::kFrameRate));
    ASSERT_EQ(fps.size(), 30);
    EXPECT_EQ(fps.first(), "30");
    EXPECT_EQ(fps.last(), "1");
    EXPECT_EQ(Entries(List(panel_id::kChannels)), QStringList({"Mono", "Stereo"}));
    EXPECT_EQ(Entries(List(panel_id::kProfileList)),
              QStringList({"Big", "Default", "Small screen"}));

    // The stored selection: Small screen, 15 fps (the sixteenth entry), Mono.
    EXPECT_EQ(Std(Shown(panel_id::kProfileList)), "Small screen");
    EXPECT_EQ(List(panel_id::kFrameRate)->currentIndex(), 15);
    EXPECT_EQ(Std(Shown(panel_id::kChannels)), "Mono");
    EXPECT_EQ(Edit(panel_id::kWidth)->text(), "320");
    EXPECT_EQ(Edit(panel_id::kVideoBitrate)->text(), "128");
    // A four-digit rate with one leading space comes before the five-digit ones.
    EXPECT_EQ(Entries(List(panel_id::kSampleRate)), QStringList({" 8000", "22050", "44100"}));
    EXPECT_EQ(Std(Shown(panel_id::kSampleRate)), "22050");
    EXPECT_EQ(Std(Shown(panel_id::kAudioBitrate)), " 16000");

    ChooseText(List(panel_id::kProfileList), "Default");
    EXPECT_EQ(Std(Shown(panel_id::kChannels)), "Stereo");
    EXPECT_EQ(Entries(List(panel_id::kSampleRate)),
              QStringList({" 8000", "22050", "32000", "44100"}));
    // A five-digit bit rate with one leading space before the six-digit one.
    EXPECT_EQ(Entries(List(panel_id::kAudioBitrate)), QStringList({" 64000", " 96000", "128000"}));
    EXPECT_EQ(Std(Shown(panel_id::kAudioBitrate)), " 64000");
    EXPECT_EQ(panel->Store().SelectedIndex(), 0);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(PanelTest, StoredValuesTheListsDontOfferLeaveThemUnselected) {
    WriteFileBytes(path, "1,0\nOdd.320,240,100,45,99999,1,11025\n");
    Open();
    EXPECT_EQ(List(panel_id::kFrameRate)->currentIndex(), -1);
    EXPECT_EQ(List(panel_id::kSampleRate)->currentIndex(), -1);
    EXPECT_EQ(List(panel_id::kAudioBitrate)->currentIndex(), -1);
    // The bit rates are those of the first rate the catalogue offers.
    EXPECT_EQ(Entries(List(panel_id::kAudioBitrate)), QStringList({" 64000", " 96000", "128000"}));
    const ProfileRecord r = panel->BuildConverterRecord();
    EXPECT_EQ(r.sampleRate, 0);
    EXPECT_EQ(r.audioBitrate, 0);
    EXPECT_EQ(r.framesPerSecond, 0);
}

TEST_F(PanelTest, ModifiedMarkOnlyWhenTheChoiceDiffersFromTheOneAtDropDown) {
    Open();
    ChooseText(List(panel_id::kFrameRate), "15");  // already selected
    EXPECT_FALSE(panel->IsModified());
    ChooseText(List(panel_id::kAudioBitrate), " 16000");
    EXPECT_FALSE(panel->IsModified());
    ChooseText(List(panel_id::kFrameRate), "25");
    EXPECT_TRUE(panel->IsModified());
    // The mark survives a profile switch and is asked about on exit.
    ChooseText(List(panel_id::kProfileList), "Big");
    EXPECT_TRUE(panel->IsModified());
    dialogs.answers = {MsgAnswer::No};
    Close();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Profile have been modified, save or not?");
}

TEST_F(PanelTest, TypingThenSwitchingProfilesAsksOnExitAndYesSavesTheShownProfile) {
    Open();
    Edit(panel_id::kWidth)->setFocus();
    QTest::keyClick(Edit(panel_id::kWidth), Qt::Key_End);
    QTest::keyClicks(Edit(panel_id::kWidth), "9");
    EXPECT_EQ(Edit(panel_id::kWidth)->text(), "3209");
    ChooseText(List(panel_id::kProfileList), "Big");
    // Showing Big replaced what was typed; the mark stays.
    EXPECT_EQ(Edit(panel_id::kWidth)->text(), "1280");
    ChooseText(List(panel_id::kFrameRate), "20");
    dialogs.answers = {MsgAnswer::Yes};
    Close();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Profile have been modified, save or not?");
    EXPECT_EQ(ReadFileBytes(path),
              "3,2\n"
              "Default.640,480,220,15,64000,1,44100\n"
              "Small screen.320,240,128,15,16000,0,22050\n"
              "Big.1280,720,2000,20,128000,1,44100\n");
}

TEST_F(PanelTest, EditingOnlyTheWidthMarksTheProfileModified) {
    // Closing right away and closing after a switch to another profile (which
    // shows that profile's width over the edited one) both ask.
    for (const bool switchFirst : {false, true}) {
        Open();
        Edit(panel_id::kWidth)->setFocus();
        QTest::keyClick(Edit(panel_id::kWidth), Qt::Key_End);
        QTest::keyClicks(Edit(panel_id::kWidth), "9");
        EXPECT_TRUE(panel->IsModified());
        if (switchFirst) ChooseText(List(panel_id::kProfileList), "Big");
        dialogs.boxes.clear();
        dialogs.answers = {MsgAnswer::No};
        Close();
        ASSERT_EQ(dialogs.boxes.size(), 1u) << "switched first: " << switchFirst;
        EXPECT_EQ(dialogs.boxes[0].text, "Profile have been modified, save or not?");
    }
}

TEST_F(PanelTest, ExitWithoutChangesAsksNothingAndRemembersTheSelection) {
    Open();
    ChooseText(List(panel_id::kProfileList), "Default");
    Close();
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(ReadFileBytes(path).substr(0, 4), "3,0\n");
}

TEST_F(PanelTest, ChannelChangeKeepsRateAndBitRateWhenOfferedElseTheFirstEntries) {
    Open();
    ChooseText(List(panel_id::kProfileList), "Default");  // Stereo 44100, 64000
    ChooseText(List(panel_id::kChannels), "Mono");
    EXPECT_EQ(Std(Shown(panel_id::kSampleRate)), "44100");
    EXPECT_EQ(Std(Shown(panel_id::kAudioBitrate)), " 64000");
    EXPECT_EQ(Entries(List(panel_id::kAudioBitrate)), QStringList({" 48000", " 64000"}));

    ChooseText(List(panel_id::kChannels), "Stereo");
    ChooseText(List(panel_id::kSampleRate), "22050");  // only 32000
    EXPECT_EQ(Std(Shown(panel_id::kAudioBitrate)), " 32000");
    ChooseText(List(panel_id::kChannels), "Mono");  // 22050 kept, 32000 not offered
    EXPECT_EQ(Std(Shown(panel_id::kSampleRate)), "22050");
    EXPECT_EQ(Std(Shown(panel_id::kAudioBitrate)), " 16000");

    ChooseText(List(panel_id::kChannels), "Stereo");
    ChooseText(List(panel_id::kSampleRate), "32000");  // stereo only
    ChooseText(List(panel_id::kChannels), "Mono");
    EXPECT_EQ(Std(Shown(panel_id::kSampleRate)), " 8000");
    EXPECT_EQ(Std(Shown(panel_id::kAudioBitrate)), "  8000");

    // Sample-rate change: the bit rate stays when offered for the new rate.
    ChooseText(List(panel_id::kChannels), "Stereo");
    ChooseText(List(panel_id::kSampleRate), "44100");
    ChooseText(List(panel_id::kAudioBitrate), " 96000");
    ChooseText(List(panel_id::kSampleRate), " 8000");
    EXPECT_EQ(Std(Shown(panel_id::kAudioBitrate)), " 12000");
    EXPECT_TRUE(panel->IsModified());
    dialogs.answers = {MsgAnswer::No};  // closing asks about the changes
    Close();
}

TEST_F(PanelTest, TabFollowsTheControlIdsAndStopsAtChannelsAndSampleRate) {
    Open();
    const auto tabFrom = [&](int id) {
        panel->Control(id)->setFocus();
        QTest::keyClick(panel->Control(id), Qt::Key_Tab);
        QApplication::processEvents();  // the Tab is posted to the panel
        return QApplication::focusWidget();
    };
    EXPECT_EQ(tabFrom(panel_id::kProfileList), panel->Control(panel_id::kWidth));
    EXPECT_EQ(tabFrom(panel_id::kWidth), panel->Control(panel_id::kHeight));
    EXPECT_EQ(tabFrom(panel_id::kVideoBitrate), panel->Control(panel_id::kFrameRate));
    EXPECT_EQ(tabFrom(panel_id::kFrameRate), panel->Control(panel_id::kAudioBitrate));
    EXPECT_EQ(tabFrom(panel_id::kAudioBitrate), panel->Control(panel_id::kChannels));
    EXPECT_EQ(tabFrom(panel_id::kChannels), panel->Control(panel_id::kChannels));
    EXPECT_EQ(tabFrom(panel_id::kSampleRate), panel->Control(panel_id::kSampleRate));
}

TEST_F(PanelTest, ConverterRecordCarriesTheStoredRateAndTheCatalogueChoice) {
    Open();
    ChooseText(List(panel_id::kProfileList), "Big");
    const ProfileRecord r = panel->BuildConverterRecord();
    EXPECT_EQ(r.width, 1280);
    EXPECT_EQ(r.height, 720);
    EXPECT_EQ(r.videoKbps, 2000u);  // as stored; the job control turns it into bits
    EXPECT_EQ(r.framesPerSecond, 30);
    EXPECT_EQ(r.sampleRate, 44100);
    EXPECT_EQ(r.audioBitrate, 128000);
    EXPECT_EQ(r.audioCodecIndex, 0);
    EXPECT_EQ(r.audioFormatIndex, 1);
    EXPECT_EQ(r.stereo, 0);
    EXPECT_EQ(r.name[0], '\0');
}

TEST_F(PanelTest, SaveWritesTheShownProfileAndClearsTheMark) {
    Open();
    QLineEdit* width = Edit(panel_id::kWidth);
    width->setFocus();
    width->selectAll();
    QTest::keyClicks(width, "x800");  // the letter is refused
    ChooseText(List(panel_id::kFrameRate), "10");
    QTest::mouseClick(panel->Control(panel_id::kSave), Qt::LeftButton);
    EXPECT_EQ(ReadFileBytes(path),
              "3,1\n"
              "Default.640,480,220,15,64000,1,44100\n"
              "Small screen.800,240,128,10,16000,0,22050\n"
              "Big.1280,720,2000,30,128000,1,44100\n");
    EXPECT_FALSE(panel->IsModified());
    EXPECT_EQ(Edit(panel_id::kWidth)->text(), "800");
    Close();
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(PanelTest, AddThroughTheDialogAppendsAndSelectsTheNewProfile) {
    Open();
    ChooseText(List(panel_id::kFrameRate), "10");  // marked; Add clears it
    bool filled = false;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<CAddProfileDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        QTest::keyClicks(dlg->Control(add_dialog_id::kName), "Phone clip");
        QTest::keyClicks(dlg->Control(add_dialog_id::kWidth), "176");
        QTest::keyClicks(dlg->Control(add_dialog_id::kHeight), "144");
        QTest::keyClicks(dlg->Control(add_dialog_id::kVideoBitrate), "96.5");
        filled = true;
        QTest::mouseClick(dlg->Control(add_dialog_id::kOk), Qt::LeftButton);
    });
    QTest::mouseClick(panel->Control(panel_id::kAdd), Qt::LeftButton);
    ASSERT_TRUE(filled);
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(ReadFileBytes(path),
              "4,3\n"
              "Default.640,480,220,15,64000,1,44100\n"
              "Small screen.320,240,128,15,16000,0,22050\n"
              "Big.1280,720,2000,30,128000,1,44100\n"
              "Phone clip.176,144,96,15,12000,1,8000\n");
    EXPECT_EQ(Std(Shown(panel_id::kProfileList)), "Phone clip");
    EXPECT_EQ(Edit(panel_id::kVideoBitrate)->text(), "96");
    EXPECT_FALSE(panel->IsModified());

    // A duplicate name is refused after the dialog, the file unchanged.
    const std::string before = ReadFileBytes(path);
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<CAddProfileDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        QTest::keyClicks(dlg->Control(add_dialog_id::kName), "Big");
        QTest::keyClicks(dlg->Control(add_dialog_id::kWidth), "10");
        QTest::keyClicks(dlg->Control(add_dialog_id::kHeight), "10");
        QTest::keyClicks(dlg->Control(add_dialog_id::kVideoBitrate), "10");
        QTest::mouseClick(dlg->Control(add_dialog_id::kOk), Qt::LeftButton);
    });
    dialogs.answers = {MsgAnswer::Ok};
    panel->Add();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "\"Big\" already exist in profile, add failed!");
    EXPECT_EQ(ReadFileBytes(path), before);
}

TEST_F(PanelTest, DeleteAfterYesSelectsTheFirstRemainingAndANewPanelReadsItBack) {
    Open();
    dialogs.answers = {MsgAnswer::No};
    QTest::mouseClick(panel->Control(panel_id::kDelete), Qt::LeftButton);
    EXPECT_EQ(ReadFileBytes(path), kFile);

    dialogs.answers = {MsgAnswer::Yes};
    QTest::mouseClick(panel->Control(panel_id::kDelete), Qt::LeftButton);
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[1].text, "Are you sure to delete this profile?");
    EXPECT_EQ(ReadFileBytes(path),
              "2,0\n"
              "Default.640,480,220,15,64000,1,44100\n"
              "Big.1280,720,2000,30,128000,1,44100\n");
    EXPECT_EQ(Std(Shown(panel_id::kProfileList)), "Default");
    Close();

    Open();
    EXPECT_EQ(Entries(List(panel_id::kProfileList)), QStringList({"Big", "Default"}));
    EXPECT_EQ(Std(Shown(panel_id::kProfileList)), "Default");
    EXPECT_EQ(panel->Store().Profiles()[1].listIndex, 0);  // "Big" sorts first
}

TEST_F(PanelTest, MissingFileShowsTheDefaultConfigurationAndAddCreatesTheFile) {
    std::filesystem::remove(path);
    dialogs.answers = {MsgAnswer::Ok};
    Open();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Load profile failed!");
    EXPECT_EQ(Entries(List(panel_id::kProfileList)), QStringList({"Default Configuration"}));
    EXPECT_EQ(Std(Shown(panel_id::kProfileList)), "Default Configuration");
    EXPECT_EQ(Edit(panel_id::kWidth)->text(), "640");
    EXPECT_EQ(Edit(panel_id::kVideoBitrate)->text(), "220");
    EXPECT_EQ(Std(Shown(panel_id::kFrameRate)), "15");
    EXPECT_EQ(Std(Shown(panel_id::kChannels)), "Stereo");
    EXPECT_EQ(List(panel_id::kSampleRate)->count(), 0);
    EXPECT_EQ(List(panel_id::kAudioBitrate)->count(), 0);
    const ProfileRecord r = panel->BuildConverterRecord();
    EXPECT_EQ(r.sampleRate, 0);
    EXPECT_EQ(r.videoKbps, 220u);

    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<CAddProfileDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        QTest::keyClicks(dlg->Control(add_dialog_id::kName), "First");
        QTest::keyClicks(dlg->Control(add_dialog_id::kWidth), "320");
        QTest::keyClicks(dlg->Control(add_dialog_id::kHeight), "240");
        QTest::keyClicks(dlg->Control(add_dialog_id::kVideoBitrate), "300");
        QTest::mouseClick(dlg->Control(add_dialog_id::kOk), Qt::LeftButton);
    });
    QTest::mouseClick(panel->Control(panel_id::kAdd), Qt::LeftButton);
    EXPECT_EQ(ReadFileBytes(path), "1,0\nFirst.320,240,300,15,12000,1,8000\n");
    EXPECT_EQ(Entries(List(panel_id::kProfileList)), QStringList({"First"}));
}
