// The reader's switches beyond the classic band that the lookups follow (allEntries,
// standardPinyin, hepburnRomaji, deinflect: the table says what each does). Each is off by
// default, and with all of them off every road shows exactly what the classic band shows.
#pragma once

#include "contract/extension_contract.h"

namespace pelux {

struct ReaderOptions {
#define PELUX_READER_OPTION_FIELD(name, field, text) bool field = false;
    PELUX_LOOKUP_SWITCHES(PELUX_READER_OPTION_FIELD)
#undef PELUX_READER_OPTION_FIELD
};

}  // namespace pelux
