// The reader's switches beyond the classic band. Each is off by default, and with all of them
// off every road shows exactly what the classic band shows.
#pragma once

namespace pelux {

struct ReaderOptions {
    // Every line of the matched key, ranked, instead of the first line only.
    bool allEntries = false;
    // Tone marks placed and shaped as readers learned them (ǎ, mǎo, Běijīng).
    bool standardPinyin = false;
    // Modified Hepburn romaji (shi, chū, kitte) instead of the band's syllable-by-syllable form.
    bool hepburnRomaji = false;
    // Conjugated Japanese verbs and adjectives are also looked up under their dictionary form.
    bool deinflect = false;
};

}  // namespace pelux
