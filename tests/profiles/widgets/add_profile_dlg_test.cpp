// The add-profile dialog: its lists, its reactions, and the checks of OK in
// their order, through the controls.
#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>
#include <memory>

#include "panel_test_support.h"
#include "profiles/profile_values.h"
#include "profiles/widgets/add_profile_dlg.h"
#include "store_test_support.h"

namespace {

class AddDialogTest : public ::testing::Test {
protected:
    AddDialogTest() { FillTestCatalog(catalog); }
    void Open() {
        dlg = std::make_unique<CAddProfileDlg>(catalog, dialogs);
        dlg->show();
        dlg->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    }
    QComboBox* List(int id) const { return qobject_cast<QComboBox*>(dlg->Control(id)); }
    QLineEdit* Edit(int id) const { return qobject_cast<QLineEdit*>(dlg->Control(id)); }
    void Type(int id, const char* text) { QTest::keyClicks(dlg->Control(id), text); }
    // Presses OK, answering a message with OK; returns the message shown,
    // "" when the dialog closed.
    std::string PressOk() {
        const size_t before = dialogs.boxes.size();
        dialogs.answers = {MsgAnswer::Ok};
        QTest::mouseClick(dlg->Control(add_dialog_id::kOk), Qt::LeftButton);
        dialogs.answers.clear();
        if (dialogs.boxes.size() == before) return dlg->isVisible() ? "(open, silent)" : "";
        EXPECT_EQ(dialogs.boxes.size(), before + 1);
        EXPECT_TRUE(dlg->isVisible());
        return dialogs.boxes.back().text;
    }

    CAudioFormatCatalog catalog;
    ScriptedDialogs dialogs;
    std::unique_ptr<CAddProfileDlg> dlg;
};

}  // namespace

TEST_F(AddDialogTest, ListsOpenAtFifteenStereoAndTheLowestRates) {
    Open();
    EXPECT_EQ(dlg->windowTitle(), "Add New Profile");
    const QStringList fps = Entries(List(add_dialog_id::kFrameRate));
    ASSERT_EQ(fps.size(), 30);
    EXPECT_EQ(fps.first(), " 1");
    EXPECT_EQ(fps[9], "10");
    EXPECT_EQ(fps.last(), "30");
    EXPECT_EQ(Std(List(add_dialog_id::kFrameRate)->currentText()), "15");
    EXPECT_EQ(Entries(List(add_dialog_id::kChannels)), QStringList({"Stereo", "Mono"}));
    EXPECT_EQ(Std(List(add_dialog_id::kChannels)->currentText()), "Stereo");
    EXPECT_EQ(Entries(List(add_dialog_id::kSampleRate)),
              QStringList({" 8000", "22050", "32000", "44100"}));
    EXPECT_EQ(List(add_dialog_id::kSampleRate)->currentIndex(), 0);
    EXPECT_EQ(Entries(List(add_dialog_id::kAudioBitrate)), QStringList({" 12000", " 16000"}));
    EXPECT_EQ(List(add_dialog_id::kAudioBitrate)->currentIndex(), 0);

    // The same list rules as the panel's.
    ChooseText(List(add_dialog_id::kSampleRate), "44100");
    EXPECT_EQ(Std(List(add_dialog_id::kAudioBitrate)->currentText()), " 64000");
    ChooseText(List(add_dialog_id::kChannels), "Mono");
    EXPECT_EQ(Std(List(add_dialog_id::kSampleRate)->currentText()), "44100");
    EXPECT_EQ(Std(List(add_dialog_id::kAudioBitrate)->currentText()), " 64000");
    ChooseText(List(add_dialog_id::kAudioBitrate), " 48000");
    ChooseText(List(add_dialog_id::kChannels), "Stereo");
    EXPECT_EQ(Std(List(add_dialog_id::kAudioBitrate)->currentText()), " 64000");  // lowest offered
}

TEST_F(AddDialogTest, NothingIsCutOffOrOutsideTheDialog) {
    Open();
    for (const QWidget* child :
         dlg->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        EXPECT_TRUE(dlg->rect().contains(child->geometry())) << Std(child->objectName());
        if (const auto* label = qobject_cast<const QLabel*>(child)) {
            EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()))
                << Std(label->text());
        }
        if (const auto* list = qobject_cast<const QComboBox*>(child)) {
            EXPECT_GE(list->width(), list->sizeHint().width()) << Std(list->objectName());
        }
    }
}

TEST_F(AddDialogTest, OkChecksInOrderAndAFailedCheckKeepsWhatWasTyped) {
    Open();
    EXPECT_EQ(PressOk(), "Please input profile name!");
    EXPECT_EQ(dialogs.boxes.size(), 1u);  // only the first failure is reported

    Type(add_dialog_id::kName, "Clip.v2");
    EXPECT_EQ(PressOk(), "Profile name can not contain '.'");
    EXPECT_EQ(Edit(add_dialog_id::kName)->text(), "Clip.v2");
    Edit(add_dialog_id::kName)->setText(QString(1024, 'n'));
    EXPECT_EQ(PressOk(), "Profile name can not be longer than 1023 characters");
    Edit(add_dialog_id::kName)->setText("Clip");

    EXPECT_EQ(PressOk(), "Please input Video Width!");
    Type(add_dialog_id::kWidth, "0");
    EXPECT_EQ(PressOk(), "Video Width must greater than 0!");
    EXPECT_EQ(Edit(add_dialog_id::kName)->text(), "Clip");
    Type(add_dialog_id::kWidth, "x2");  // letters are refused: "02"
    EXPECT_EQ(Edit(add_dialog_id::kWidth)->text(), "02");
    EXPECT_EQ(PressOk(), "Please input Video Height!");
    Type(add_dialog_id::kHeight, "00");
    EXPECT_EQ(PressOk(), "Video Height must greater than 0!");
    Edit(add_dialog_id::kHeight)->setText("240");
    EXPECT_EQ(PressOk(), "Please input Video BitRate!");
    Type(add_dialog_id::kVideoBitrate, ".9");
    EXPECT_EQ(PressOk(), "Video Bitrate must greater than 0!");
    Edit(add_dialog_id::kVideoBitrate)->clear();
    Type(add_dialog_id::kVideoBitrate, "256.9");
    EXPECT_EQ(PressOk(), "");
    EXPECT_EQ(dlg->result(), QDialog::Accepted);

    const NamedProfile& p = dlg->NewProfile();
    EXPECT_EQ(p.name, "Clip");
    EXPECT_EQ(p.settings.width, 2);
    EXPECT_EQ(p.settings.height, 240);
    EXPECT_EQ(p.settings.videoKbps, 256u);
    EXPECT_EQ(p.settings.framesPerSecond, 15);
    EXPECT_TRUE(p.settings.stereo);
    EXPECT_EQ(p.settings.sampleRate, 8000);
    EXPECT_EQ(p.settings.audioBitrate, 12000);
}

TEST_F(AddDialogTest, AnEmptyCatalogueStopsAtTheSampleRate) {
    CAudioFormatCatalog empty;
    CAddProfileDlg dialog(empty, dialogs);
    dialog.show();
    QTest::keyClicks(dialog.Control(add_dialog_id::kName), "A");
    QTest::keyClicks(dialog.Control(add_dialog_id::kWidth), "2");
    QTest::keyClicks(dialog.Control(add_dialog_id::kHeight), "2");
    QTest::keyClicks(dialog.Control(add_dialog_id::kVideoBitrate), "2");
    dialogs.answers = {MsgAnswer::Ok};
    QTest::mouseClick(dialog.Control(add_dialog_id::kOk), Qt::LeftButton);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Please choose Audio Sample Bitrate!");
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(AddDialogTest, TabAndEnterInTheNumberFieldsAndCancel) {
    Open();
    dlg->Control(add_dialog_id::kWidth)->setFocus();
    QTest::keyClick(dlg->Control(add_dialog_id::kWidth), Qt::Key_Tab);
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), dlg->Control(add_dialog_id::kHeight));
    // Enter in a number field still reaches the default button.
    dialogs.answers = {MsgAnswer::Ok};
    QTest::keyClick(dlg->Control(add_dialog_id::kHeight), Qt::Key_Return);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Please input profile name!");
    QTest::mouseClick(dlg->Control(add_dialog_id::kCancel), Qt::LeftButton);
    EXPECT_EQ(dlg->result(), QDialog::Rejected);
    EXPECT_FALSE(dlg->isVisible());
}
