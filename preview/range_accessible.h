// What assistive tools see of the range controls: the range slider as a
// slider named after its focused handle ("Begin Time", "End Time") whose
// value is that handle's time, and each time field as a group named after
// its label whose value is the time it shows ("HH:MM:SS" as text, whole
// seconds as a number). Both can be set through the value interface, which
// goes the way the keys and the typed entries go.
#pragma once

// Registers the interfaces with Qt's accessibility once per process; the
// controls call it when they are made.
void InstallRangeAccessibility();
