// What the output settings panel shows at this moment, as the texts its
// controls hold; the store turns them into numbers with its own rules.
// Implemented by the panel, by a scripted source in tests.
#pragma once

#include <string>

struct PanelSettingsText {
    std::string width;            // width field
    std::string height;           // height field
    std::string videoBitrate;     // video bit-rate field, kilobits per second
    std::string framesPerSecond;  // selected frame-rate entry
    std::string channels;         // selected channel entry: "Stereo" or "Mono"
    std::string sampleRate;       // sample-rate list text ("%5d"), may be empty
    std::string audioBitrate;     // audio bit-rate list text ("%6d"), may be empty
};

class IProfileSettingsSource {
public:
    virtual ~IProfileSettingsSource() = default;
    virtual PanelSettingsText CurrentSettings() const = 0;
    // Text of the profile list's selected entry.
    virtual std::string SelectedProfileName() const = 0;
    // Whether the width, height or video bit-rate field was edited since
    // the panel last set its text.
    virtual bool EditFieldsChanged() const = 0;
};
