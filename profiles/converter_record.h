// The record of the selected profile that the panel hands to the job
// control, which widens it into the Convert record (WidenProfile).
#pragma once

#include "profiles/profile_record.h"
#include "profiles/profile_settings.h"

class CAudioFormatCatalog;

// The record handed to the job control: the settings with the video bit
// rate in kilobits per second as shown, codec and format chosen by the
// catalogue for the channel count, sample rate and audio bit rate (which
// keep the values given even where the catalogue chose another format).
// name, stereo, listIndex and deleted stay 0.
ProfileRecord MakeConverterRecord(const ProfileSettings& settings,
                                  const CAudioFormatCatalog& catalog);
