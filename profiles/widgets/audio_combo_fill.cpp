#include "profiles/widgets/audio_combo_fill.h"

#include <QComboBox>
#include <vector>

#include "ui/drop_combo.h"

namespace {

void Fill(QComboBox& list, const std::vector<uint32_t>& values, int selected,
          QString (*format)(uint32_t)) {
    list.clear();
    for (uint32_t v : values) InsertSorted(list, format(v));
    const int position = selected >= 0 && selected < static_cast<int>(values.size())
                             ? list.findText(format(values[static_cast<size_t>(selected)]),
                                             Qt::MatchExactly | Qt::MatchCaseSensitive)
                             : -1;
    list.setCurrentIndex(position);
}

}  // namespace

QString SampleRateText(uint32_t hertz) {
    return QString::asprintf("%5u", hertz);
}

QString AudioBitrateText(uint32_t bitsPerSecond) {
    return QString::asprintf("%6u", bitsPerSecond);
}

void FillSampleRateList(QComboBox& list, const AudioLists& lists) {
    Fill(list, lists.rates, lists.selectedRate, SampleRateText);
}

void FillAudioBitrateList(QComboBox& list, const AudioLists& lists) {
    Fill(list, lists.bitrates, lists.selectedBitrate, AudioBitrateText);
}
