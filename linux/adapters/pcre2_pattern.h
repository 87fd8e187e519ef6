// The Perl-style pattern object on Linux, over PCRE2's 16-bit library.
#pragma once

#include <memory>

#include "platform/perl_pattern.h"

namespace pelux {

// Each UTF-16 code unit is one character (no UTF mode), "$" is the end of the text only, and "."
// matches every character but the line feed, as the Windows object has them.
std::unique_ptr<IPerlPattern> createPcre2Pattern();

}  // namespace pelux
