// The store's operations on real files in a temporary directory, with a
// scripted dialog seam and what the panel hands the store.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "profiles/audio_format_catalog.h"
#include "profiles/converter_record.h"
#include "profiles/profile_file_io.h"
#include "profiles/profile_store.h"
#include "profiles/profile_values.h"
#include "store_test_support.h"

namespace {

constexpr const char* kExample =
    "2,1\n"
    "Default.640,480,220,15,32000,1,44100\n"
    "Small screen.320,240,128,15,16000,0,22050\n";

NamedProfile NewProfile(const std::string& name) {
    NamedProfile p;
    p.name = name;
    p.settings.width = 176;
    p.settings.height = 144;
    p.settings.videoKbps = 64;
    p.settings.framesPerSecond = 10;
    p.settings.audioBitrate = 8000;
    p.settings.stereo = false;
    p.settings.sampleRate = 8000;
    return p;
}

// What the panel hands the store: its selected entry's text, whether its
// fields were edited, and the texts they show, read as the panel reads them.
struct PanelState {
    ProfileFieldTexts texts;
    std::string selectedName;
    bool edited = false;
    ProfileSettings Settings() const { return ParseProfileSettings(texts); }
};

class ProfileStoreTest : public ::testing::Test {
protected:
    ProfileStoreTest() : path(dir.Path("profile.cfg")), store(path, dialogs) {
        catalog.AddFormat({2, 44100, 32000, 0, 3});
        catalog.AddFormat({2, 44100, 64000, 0, 4});
        catalog.AddFormat({1, 22050, 16000, 0, 7});
        catalog.AddFormat({2, 44100, 32000, 1, 0});
        panel.texts = {"720", "576", "1500", "25", "Mono", "22050", " 16000"};
    }
    // The panel's Save, Delete and closing, with what it shows.
    ProfileOpResult Save() { return store.Save(panel.selectedName, panel.Settings()); }
    ProfileOpResult Delete() { return store.Delete(panel.selectedName); }
    ProfileOpResult Exit() {
        return store.RewriteOnExit(panel.selectedName, panel.edited, panel.Settings());
    }
    void LoadExample() {
        WriteFileBytes(path, kExample);
        ASSERT_TRUE(store.Load());
        ASSERT_TRUE(dialogs.boxes.empty());
    }

    TempDir dir;
    std::string path;
    CAudioFormatCatalog catalog;
    ScriptedDialogs dialogs;
    PanelState panel;
    CProfileStore store;
};

TEST_F(ProfileStoreTest, UnchangedExitWritesTheExampleBackByteForByte) {
    LoadExample();
    EXPECT_EQ(store.SelectedIndex(), 1);
    EXPECT_EQ(RecordName(store.ShownProfile()), "Small screen");
    panel.selectedName = "Small screen";
    EXPECT_EQ(Exit(), ProfileOpResult::Written);
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(ReadFileBytes(path), kExample);
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST_F(ProfileStoreTest, ExitRemembersTheSelectionAndAsksOnlyWhenModified) {
    LoadExample();
    ASSERT_TRUE(store.SelectProfile(0));
    EXPECT_FALSE(store.SelectProfile(2));
    EXPECT_FALSE(store.SelectProfile(-1));
    panel.selectedName = "Default";
    ASSERT_EQ(Exit(), ProfileOpResult::Written);
    EXPECT_EQ(ReadFileBytes(path).substr(0, 4), "2,0\n");

    // Edited fields: asked, and No keeps the stored values.
    panel.edited = true;
    dialogs.answers = {MsgAnswer::No};
    ASSERT_EQ(Exit(), ProfileOpResult::Written);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Profile have been modified, save or not?");
    EXPECT_EQ(dialogs.boxes[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(
        ReadFileBytes(path),
        "2,0\nDefault.640,480,220,15,32000,1,44100\nSmall screen.320,240,128,15,16000,0,22050\n");

    // Yes stores the panel's settings into the selected profile.
    dialogs.answers = {MsgAnswer::Yes};
    ASSERT_EQ(Exit(), ProfileOpResult::Written);
    EXPECT_EQ(
        ReadFileBytes(path),
        "2,0\nDefault.720,576,1500,25,16000,0,22050\nSmall screen.320,240,128,15,16000,0,22050\n");
}

TEST_F(ProfileStoreTest, SaveStoresTheSettingsAndSelectsTheSavedProfile) {
    LoadExample();
    store.SetModified();
    panel.selectedName = "Default";
    panel.texts.channels = "Stereo";
    ASSERT_EQ(Save(), ProfileOpResult::Written);
    EXPECT_FALSE(store.IsModified());
    EXPECT_EQ(
        ReadFileBytes(path),
        "2,0\nDefault.720,576,1500,25,16000,1,22050\nSmall screen.320,240,128,15,16000,0,22050\n");
    // The store reloaded the file it wrote.
    EXPECT_EQ(store.SelectedIndex(), 0);
    EXPECT_EQ(store.Profiles()[0].width, 720);

    // A selected text that names no profile saves nothing and selects the first.
    panel.selectedName = "default";
    panel.texts.width = "1";
    ASSERT_EQ(Save(), ProfileOpResult::Written);
    EXPECT_EQ(store.Profiles()[0].width, 720);
}

TEST_F(ProfileStoreTest, AddAppendsAndSelectsRefusesDuplicatesAndBadNames) {
    LoadExample();
    store.SetModified();
    ASSERT_EQ(store.Add(NewProfile("  QCIF low")), ProfileOpResult::Written);
    EXPECT_FALSE(store.IsModified());
    EXPECT_EQ(ReadFileBytes(path), std::string("3,2\n") +
                                       "Default.640,480,220,15,32000,1,44100\n"
                                       "Small screen.320,240,128,15,16000,0,22050\n"
                                       "QCIF low.176,144,64,10,8000,0,8000\n");
    EXPECT_EQ(store.SelectedIndex(), 2);

    const std::string before = ReadFileBytes(path);
    store.SetModified();
    dialogs.answers = {MsgAnswer::Ok, MsgAnswer::Ok, MsgAnswer::Ok, MsgAnswer::Ok};
    EXPECT_EQ(store.Add(NewProfile("Small screen")), ProfileOpResult::Refused);
    EXPECT_EQ(store.Add(NewProfile("v1.5")), ProfileOpResult::Refused);
    EXPECT_EQ(store.Add(NewProfile("   ")), ProfileOpResult::Refused);
    EXPECT_EQ(store.Add(NewProfile(std::string(sizeof(ProfileRecord::name), 'n'))),
              ProfileOpResult::Refused);
    ASSERT_EQ(dialogs.boxes.size(), 4u);
    EXPECT_EQ(dialogs.boxes[0].text, "\"Small screen\" already exist in profile, add failed!");
    EXPECT_EQ(dialogs.boxes[1].text, "Profile name can't contain \".\", add failed!");
    EXPECT_EQ(dialogs.boxes[2].text, "Please input profile name!");
    EXPECT_EQ(dialogs.boxes[3].text, "Profile name is longer than 1023 characters, add failed!");
    EXPECT_EQ(ReadFileBytes(path), before);
    EXPECT_TRUE(store.IsModified());
}

TEST_F(ProfileStoreTest, DeleteAsksSelectsFirstRemainingAndKeepsTheLast) {
    WriteFileBytes(path, "3,2\na.1,1,1,1,1,1,1\nb.2,2,2,2,2,2,2\nc.3,3,3,3,3,3,3\n");
    ASSERT_TRUE(store.Load());
    panel.selectedName = "b";
    dialogs.answers = {MsgAnswer::No};
    EXPECT_EQ(Delete(), ProfileOpResult::Cancelled);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Are you sure to delete this profile?");
    EXPECT_EQ(store.Count(), 3);

    store.SetModified();
    dialogs.answers = {MsgAnswer::Yes};
    ASSERT_EQ(Delete(), ProfileOpResult::Written);
    EXPECT_EQ(ReadFileBytes(path), "2,0\na.1,1,1,1,1,1,1\nc.3,3,3,3,3,3,3\n");
    EXPECT_EQ(store.SelectedIndex(), 0);
    EXPECT_TRUE(store.IsModified());  // Delete leaves the mark alone

    panel.selectedName = "a";
    dialogs.answers = {MsgAnswer::Yes};
    ASSERT_EQ(Delete(), ProfileOpResult::Written);
    dialogs.answers = {MsgAnswer::Yes};
    dialogs.boxes.clear();
    panel.selectedName = "c";
    EXPECT_EQ(Delete(), ProfileOpResult::Refused);
    EXPECT_EQ(dialogs.boxes.size(), 1u);  // only the question
    EXPECT_EQ(ReadFileBytes(path), "1,0\nc.3,3,3,3,3,3,3\n");
}

TEST_F(ProfileStoreTest, DefaultConfigurationWhenTheFileIsMissing) {
    dialogs.answers = {MsgAnswer::Ok};
    EXPECT_FALSE(store.Load());
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Load profile failed!");
    EXPECT_FALSE(store.IsLoaded());
    const ProfileRecord shown = store.ShownProfile();
    EXPECT_EQ(RecordName(shown), "Default Configuration");
    EXPECT_EQ(shown.width, 640);
    EXPECT_EQ(shown.height, 480);
    EXPECT_EQ(shown.videoKbps, 220u);
    EXPECT_EQ(shown.framesPerSecond, 15);
    EXPECT_EQ(shown.stereo, 1);
    EXPECT_EQ(shown.sampleRate, 0);

    panel.selectedName = "Default Configuration";
    dialogs.answers = {MsgAnswer::Ok};
    EXPECT_EQ(Save(), ProfileOpResult::Refused);
    EXPECT_EQ(dialogs.boxes.back().text, "No profile to save, please add a profile first!");
    dialogs.answers = {MsgAnswer::Yes};
    EXPECT_EQ(Delete(), ProfileOpResult::Refused);
    panel.edited = true;
    EXPECT_EQ(Exit(), ProfileOpResult::Refused);
    EXPECT_EQ(dialogs.boxes.size(), 2u);  // neither Delete nor exit asked
    EXPECT_FALSE(std::filesystem::exists(path));

    ASSERT_EQ(store.Add(NewProfile("First")), ProfileOpResult::Written);
    EXPECT_EQ(ReadFileBytes(path), "1,0\nFirst.176,144,64,10,8000,0,8000\n");
    EXPECT_TRUE(store.IsLoaded());
}

TEST_F(ProfileStoreTest, ZeroProfilesShowsTheDefaultWithoutComplaint) {
    WriteFileBytes(path, "0,0\n");
    EXPECT_TRUE(store.Load());
    EXPECT_FALSE(store.IsLoaded());
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(RecordName(store.ShownProfile()), "Default Configuration");
    EXPECT_EQ(Exit(), ProfileOpResult::Refused);
    EXPECT_EQ(ReadFileBytes(path), "0,0\n");
}

TEST_F(ProfileStoreTest, DamagedFileIsReportedAndKeptAsACopy) {
    const std::string damaged = "4,9\nok.1,1,1,1,1,1,1\nbroken line\nv1.5.2,2,2,2,2,2,2\n";
    WriteFileBytes(path, damaged);
    dialogs.answers = {MsgAnswer::Ok};
    ASSERT_TRUE(store.Load());
    EXPECT_EQ(store.Count(), 1);
    EXPECT_EQ(store.SelectedIndex(), 0);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    const std::string& text = dialogs.boxes[0].text;
    EXPECT_NE(text.find("Line 3 is not a profile and was left out."), std::string::npos) << text;
    EXPECT_NE(text.find("Line 4 is not a profile"), std::string::npos) << text;
    EXPECT_NE(text.find("kept as " + path + ".bak"), std::string::npos) << text;
    EXPECT_EQ(ReadFileBytes(path + ".bak"), damaged);

    panel.selectedName = "ok";
    ASSERT_EQ(Exit(), ProfileOpResult::Written);
    EXPECT_EQ(ReadFileBytes(path), "1,0\nok.1,1,1,1,1,1,1\n");
    EXPECT_EQ(ReadFileBytes(path + ".bak"), damaged);
}

// A pipe in the file's place would wait for a writer for ever; it is
// refused at once, with the reason.
TEST_F(ProfileStoreTest, APipeInPlaceOfTheFileIsRefusedWithoutWaiting) {
    ASSERT_EQ(0, mkfifo(path.c_str(), 0644));
    dialogs.answers = {MsgAnswer::Ok};
    EXPECT_FALSE(store.Load());
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Load profile failed!\n" + path +
                                         " is not a regular file (a folder, a pipe or a "
                                         "device).");
}

TEST_F(ProfileStoreTest, UnreadableFileIsSetAsideBeforeAddReplacesIt) {
    {
        std::ofstream big(path, std::ios::binary);
        const std::string line = "p.1,1,1,1,1,1,1\n";
        for (size_t n = 0; n <= kMaxProfileFileBytes; n += line.size()) big << line;
    }
    const auto bigSize = std::filesystem::file_size(path);
    dialogs.answers = {MsgAnswer::Ok};
    EXPECT_FALSE(store.Load());
    EXPECT_EQ(dialogs.boxes.back().text, "Load profile failed!");
    ASSERT_EQ(store.Add(NewProfile("Fresh")), ProfileOpResult::Written);
    EXPECT_EQ(ReadFileBytes(path), "1,0\nFresh.176,144,64,10,8000,0,8000\n");
    EXPECT_EQ(std::filesystem::file_size(path + ".bak"), bigSize);
}

TEST_F(ProfileStoreTest, FailedWriteKeepsTheFileAndReportsNothing) {
    LoadExample();
    // The directory goes away: no temporary file can be made.
    const std::string moved = dir.Path("moved");
    std::filesystem::create_directory(moved);
    CProfileStore elsewhere(moved + "/gone/profile.cfg", dialogs);
    dialogs.boxes.clear();
    dialogs.answers = {MsgAnswer::Ok};
    EXPECT_FALSE(elsewhere.Load());
    dialogs.boxes.clear();
    EXPECT_EQ(elsewhere.Add(NewProfile("X")), ProfileOpResult::WriteFailed);
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_FALSE(elsewhere.IsLoaded());  // Add changes nothing when the write fails

    panel.selectedName = "Small screen";
    dialogs.answers = {MsgAnswer::Yes};
    std::filesystem::remove_all(dir.path());
    EXPECT_EQ(Delete(), ProfileOpResult::WriteFailed);
    EXPECT_EQ(store.Count(), 1);  // the list shows what the user asked for
    EXPECT_EQ(store.SelectedIndex(), 0);
}

TEST_F(ProfileStoreTest, ConverterRecordCarriesTheTypedRateAndTheCatalogueChoice) {
    LoadExample();
    panel.texts = {"640", "480", "220", "15", "Stereo", "44100", " 32000"};
    ProfileRecord r = MakeConverterRecord(panel.Settings(), catalog);
    EXPECT_EQ(r.width, 640);
    EXPECT_EQ(r.height, 480);
    EXPECT_EQ(r.videoKbps, 220u);
    EXPECT_EQ(r.framesPerSecond, 15);
    EXPECT_EQ(r.audioBitrate, 32000);
    EXPECT_EQ(r.sampleRate, 44100);
    EXPECT_EQ(r.audioCodecIndex, 0);  // codec 0 beats codec 1 for the same format
    EXPECT_EQ(r.audioFormatIndex, 3);
    EXPECT_EQ(RecordName(r), "");
    EXPECT_EQ(r.stereo, 0);
    EXPECT_EQ(r.listIndex, 0);
    EXPECT_EQ(r.deleted, 0);

    // Empty audio lists: the catalogue's choice for the channel count; the
    // record keeps the zeros it read, and the rate as typed.
    panel.texts = {"640", "480", "9999999", "15", "Mono", "", ""};
    r = MakeConverterRecord(panel.Settings(), catalog);
    EXPECT_EQ(r.videoKbps, 9999999u);
    EXPECT_EQ(r.sampleRate, 0);
    EXPECT_EQ(r.audioBitrate, 0);
    EXPECT_EQ(r.audioFormatIndex, 7);

    // A rate the catalogue lacks: the record keeps it, the format is the fallback's.
    panel.texts = {"640", "480", "220", "15", "Stereo", "8000", " 32000"};
    r = MakeConverterRecord(panel.Settings(), catalog);
    EXPECT_EQ(r.sampleRate, 8000);
    EXPECT_EQ(r.audioFormatIndex, 3);
}

}  // namespace
