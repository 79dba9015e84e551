#include "convert/wmf9/codec_choice.h"

#include <iterator>

DWORD ChooseVideoCodec(DWORD codecCount, const CodecNameReader& nameOf) {
    int bestPosition = kInitialBestPosition;
    DWORD chosen = 0;
    std::wstring name;
    for (DWORD j = 0; j < codecCount && bestPosition != 0; ++j) {
        if (!nameOf(j, name)) continue;
        for (int k = 0; k < static_cast<int>(std::size(kVideoCodecPreference)); ++k) {
            if (name != kVideoCodecPreference[k]) continue;
            if (k < bestPosition) {
                bestPosition = k;
                chosen = j;
            }
            break;
        }
    }
    return chosen;
}
