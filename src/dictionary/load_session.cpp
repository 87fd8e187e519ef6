#include "dictionary/load_session.h"

#include <cstdint>

#include "dictionary/english_index.h"
#include "text/ascii_chars.h"

namespace pelux {

CLoadSession::CLoadSession(const CDictionary& store, const LoadEnvironment& environment, const LanguageFiles& files)
    : m_environment(environment),
      m_files(files),
      m_state(store.loadState()),
      m_lock(store.mutex()),
      m_guard(m_state, CLoadGuard::Entry::Loader) {
    m_report.ran = m_guard.entered();
    if (m_report.ran) m_state.setLastCancelled(false);
}

std::filesystem::path CLoadSession::pathOf(const char* fileName) const {
    return dictionaryFilePath(m_environment.directory, fileName);
}

std::u16string pathForDisplay(const std::filesystem::path& path) {
    try {
        return path.u16string();
    } catch (const std::exception&) {
        // Not valid UTF-8: show the bytes as they are rather than nothing.
        std::u16string text;
        for (const char byte : path.string()) text.push_back(static_cast<unsigned char>(byte));
        return text;
    }
}

bool CLoadSession::loadFromImage(CDictionary& store) {
    const ImageSources sources{pathOf(m_files.mainFile), pathOf(m_files.charFile), pathOf(kIrregularFileName)};
    const std::optional<CheckedImage> image =
        openStoreImage(m_files.language, imagePathFor(m_environment.directory, m_files.language), sources);
    if (!image || image->facts.linesRead == 0) return false;
    pollEscape(m_environment);  // a press from before the load must not cancel it
    if (loadProgressStep(m_environment, 0, m_files.progressFormat)) {
        m_state.setLastCancelled(true);
        m_escapeAtFirstStep = true;
        return false;
    }
    installStoreImage(store, *image);
    m_report.fromImage = true;
    const LineNumber lastStep = LineNumber((image->facts.linesRead - 1) / 1000 * 1000);
    if (lastStep > 0) showLoadText(m_environment, formatProgress(m_files.progressFormat, lastStep));
    return true;
}

bool CLoadSession::progressStep(LineNumber line) {
    if (line == 0 && m_escapeAtFirstStep) return true;  // the image's attempt took this step already
    if (!loadProgressStep(m_environment, line, m_files.progressFormat)) return false;
    m_state.setLastCancelled(true);
    return true;
}

void CLoadSession::runIrregularPass(CDictionary& store) {
    const std::filesystem::path path = pathOf(kIrregularFileName);
    try {
        FileStamp stamp;
        if (!buildIrregularForms(store, path, stamp)) {
            noteMissing(path);
        } else {
            noteRead(2, stamp);
        }
    } catch (const CPatternError&) {
        // No word pattern: the irregular forms stay empty, which lookups take as "none". Such a
        // store is not what a sound load gives, so it is not kept as an image.
        m_incomplete = true;
    }
}

LoadReport CLoadSession::finish(CDictionary& store) {
    if (m_environment.keepImage && !m_report.fromImage && !m_report.cancelled && !m_incomplete && m_report.missingFiles.empty()) {
        m_report.imageWritten = writeStoreImage(store, m_files.language, imagePathFor(m_environment.directory, m_files.language),
                                                m_stamps, ImageFacts{m_linesRead});
    }
    if (!m_report.missingFiles.empty()) {
        std::u16string text = u"Could not open ";
        for (std::size_t i = 0; i < m_report.missingFiles.size(); ++i) {
            if (i > 0) text += u", ";
            text += pathForDisplay(m_report.missingFiles[i]);
        }
        showLoadText(m_environment, text);
    }
    return m_report;
}

LoadReport CLoadSession::fail(std::u16string_view text) {
    showLoadText(m_environment, text);
    m_report.failure.assign(text);
    return m_report;
}

bool scanHexCode(std::u16string_view text, int32_t& code) {
    std::size_t i = 0;
    while (i < text.size() && isAsciiSpace(text[i])) ++i;
    if (i < text.size() && text[i] == u'+') ++i;
    if (i + 2 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X') &&
        hexDigitValue(text[i + 2]) >= 0)
        i += 2;
    int64_t value = 0;
    std::size_t digits = 0;
    for (; i < text.size() && hexDigitValue(text[i]) >= 0; ++i, ++digits) {
        value = value * 16 + hexDigitValue(text[i]);
        if (value > INT32_MAX) return false;
    }
    if (digits == 0) return false;
    code = static_cast<int32_t>(value);
    return true;
}

}  // namespace pelux
