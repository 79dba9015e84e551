// The arithmetic of the time fields: a field's value from its three
// two-digit boxes, the texts that show a value, and what a box does with
// its text when it loses the focus. No window involved.
#pragma once

#include <string>

// The leading decimal digits of a box's text; an empty or non-numeric
// text counts 0. Saturates instead of overflowing.
unsigned BoxNumber(const std::string& text);
// What a box shows after it lost the focus: its number, above 59 made 59,
// formatted "%02d".
std::string CommittedBoxText(const std::string& text);
// hours·3600 + minutes·60 + seconds, each read with BoxNumber.
unsigned FieldValue(const std::string& hours, const std::string& minutes,
                    const std::string& seconds);

struct TimeFieldTexts {
    std::string hours;  // "%02d": three or more digits from 100 hours on
    std::string minutes;
    std::string seconds;
};
TimeFieldTexts TextsOfValue(unsigned seconds);

// What a field does when a box reports that it lost the focus, given the
// value the boxes now show, the value shown before the last programmatic
// update and the maximum.
enum class FieldCommit {
    Nothing,  // the value did not change
    Restore,  // above the maximum: show the previous value, report nothing
    Report    // show the value anew and report it to the parent
};
FieldCommit DecideCommit(unsigned shown, unsigned previous, unsigned maximum);
