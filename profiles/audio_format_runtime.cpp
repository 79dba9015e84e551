// Kept apart from the enumeration so that code using only the table and
// the query does not pull in the runtime library.
#include "profiles/audio_format_catalog.h"

int CAudioFormatCatalog::Enumerate() {
    return Enumerate(&WMCreateProfileManager);
}
