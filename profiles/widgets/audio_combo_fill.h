// The sample-rate and audio bit-rate lists of the output settings panel
// and the add-profile dialog: entries right-aligned with spaces ("%5d",
// "%6d") so that the lists' text order is numeric order.
#pragma once

#include <QString>
#include <cstdint>

#include "profiles/audio_lists.h"

class QComboBox;

QString SampleRateText(uint32_t hertz);
QString AudioBitrateText(uint32_t bitsPerSecond);

// Empties the list and adds every offered value in sorted position, then
// selects the chosen one; without a choice the list has no selection.
void FillSampleRateList(QComboBox& list, const AudioLists& lists);
void FillAudioBitrateList(QComboBox& list, const AudioLists& lists);
