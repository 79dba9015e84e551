// What the panel's lists hold, how a profile is shown, and how the panel
// answers the user's choices in its lists.
#include <QString>

#include "profiles/audio_lists.h"
#include "profiles/profile_values.h"
#include "profiles/widgets/audio_combo_fill.h"
#include "profiles/widgets/output_settings_panel.h"
#include "ui/drop_combo.h"
#include "ui/number_edit.h"

namespace {

constexpr int kHighestFrameRate = 30;

QString FromText(const std::string& s) {
    return QString::fromLocal8Bit(s.data(), s.size());
}

}  // namespace

void COutputSettingsPanel::LoadProfiles() {
    m_store.Load();
    ShowStoreContents();
}

void COutputSettingsPanel::ShowStoreContents() {
    m_pProfileList->clear();
    m_pFrameRateList->clear();
    m_pChannelList->clear();
    // Explicit positions keep these two lists in their own order.
    for (int k = 0; k < kHighestFrameRate; ++k)
        m_pFrameRateList->InsertString(k, QString::number(kHighestFrameRate - k));
    m_pChannelList->InsertString(0, QString::fromLatin1(kMonoText));
    m_pChannelList->InsertString(1, QString::fromLatin1(kStereoText));

    if (!m_store.IsLoaded()) {
        m_pProfileList->AddString(QString::fromLatin1(kDefaultConfigurationName));
        ShowProfile(DefaultConfiguration(), true);
        return;
    }
    for (int i = 0; i < m_store.Count(); ++i) {
        const int position = m_pProfileList->AddString(FromText(RecordName(m_store.Profiles()[i])));
        m_store.SetListIndex(i, position);
    }
    ShowProfile(m_store.ShownProfile(), false);
}

void COutputSettingsPanel::ShowProfile(const ProfileRecord& profile, bool isDefault) {
    m_pProfileList->setCurrentIndex(m_pProfileList->findText(
        FromText(RecordName(profile)), Qt::MatchExactly | Qt::MatchCaseSensitive));
    // setText also clears the fields' edited flags.
    m_pWidthEdit->setText(QString::number(profile.width));
    m_pHeightEdit->setText(QString::number(profile.height));
    m_pVideoBitrateEdit->setText(QString::number(profile.videoKbps));
    const int fps = profile.framesPerSecond;
    m_pFrameRateList->setCurrentIndex(fps >= 1 && fps <= kHighestFrameRate ? kHighestFrameRate - fps
                                                                           : -1);
    m_pChannelList->setCurrentIndex(profile.stereo == 1 ? 1 : 0);

    AudioLists lists;
    // The default configuration leaves both audio lists empty.
    if (!isDefault)
        lists = AudioListsForProfile(m_catalog, profile.stereo == 1 ? 2 : 1,
                                     static_cast<uint32_t>(profile.sampleRate),
                                     static_cast<uint32_t>(profile.audioBitrate));
    FillSampleRateList(*m_pSampleRateList, lists);
    FillAudioBitrateList(*m_pAudioBitrateList, lists);
}

int COutputSettingsPanel::SelectedChannels() const {
    return m_pChannelList->currentText() == QLatin1String(kStereoText) ? 2 : 1;
}

void COutputSettingsPanel::OnListActivated(int id, int index) {
    if (id != panel_id::kProfileList && index != CDropCombo::SelectionAtDropDown())
        m_store.SetModified();
    switch (id) {
        case panel_id::kProfileList:
            OnProfileChosen();
            break;
        case panel_id::kChannels:
            OnChannelsChosen();
            break;
        case panel_id::kSampleRate:
            OnSampleRateChosen();
            break;
        default:
            break;  // frame rate, audio bit rate: only the mark
    }
}

void COutputSettingsPanel::OnProfileChosen() {
    if (EditFieldsChanged()) m_store.SetModified();
    const int index = m_store.FindByName(SelectedProfileName());
    if (!m_store.SelectProfile(index)) return;
    ShowProfile(m_store.Profiles()[index], false);
}

void COutputSettingsPanel::OnChannelsChosen() {
    const uint32_t shownRate = TextToUnsigned(m_pSampleRateList->currentText().toStdString());
    const uint32_t shownBitrate = TextToUnsigned(m_pAudioBitrateList->currentText().toStdString());
    const AudioLists lists =
        AudioListsKeeping(m_catalog, SelectedChannels(), shownRate, shownBitrate);
    FillSampleRateList(*m_pSampleRateList, lists);
    FillAudioBitrateList(*m_pAudioBitrateList, lists);
}

void COutputSettingsPanel::OnSampleRateChosen() {
    const uint32_t chosenRate = TextToUnsigned(m_pSampleRateList->currentText().toStdString());
    const uint32_t shownBitrate = TextToUnsigned(m_pAudioBitrateList->currentText().toStdString());
    FillAudioBitrateList(*m_pAudioBitrateList, AudioListsKeeping(m_catalog, SelectedChannels(),
                                                                 chosenRate, shownBitrate));
}
