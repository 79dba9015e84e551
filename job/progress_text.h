// The job's progress as text: the status bar's line with its turning
// spinner, and the progress bar's percentage with the time left.
#pragma once

#include <string>

constexpr char kSpinnerChars[] = {'-', '\\', '|', '/'};

// "Under converting, please wait...%d%% finished": the progress in words.
std::string ProgressWords(int percent);
// The words, a carriage return (the next line replaces this one) and the
// spinner character at `spinner` (0 to 3): the status bar's text.
std::string FormatProgressText(int percent, int spinner);
// The spinner index after `spinner`: 3 wraps to 0.
int NextSpinner(int spinner);
// A log or progress text as the status bar shows it: line ends removed.
std::string StatusBarText(const std::string& text);

// The estimated time left, from the time spent so far and the share done:
// "42%" alone until there is enough to go on, then "42% - 1:05 left"
// (hours shown when needed).
std::string ProgressBarText(int percent, long long elapsedMs);
