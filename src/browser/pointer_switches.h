// What one pointer event needs to know of the band's settings, passed in by the shell so that
// the pointer road does not reach into the band's settings record.
#pragma once

#include "lookup/reader_options.h"

namespace pelux {

struct PointerSwitches {
    bool useToolTips = false;
    bool showSubWords = false;
    ReaderOptions reader;
    // Whether a Chinese or Japanese lookup also gives its entries as data for the reader's card.
    bool withCard = false;
};

}  // namespace pelux
