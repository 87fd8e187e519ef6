#include "host/native_messages.h"

#include <initializer_list>
#include <limits>

#include "adapters/utf8.h"
#include "text/utf16_cut.h"

namespace pelux {

namespace {

using nlohmann::json;

// Reads the fields of one inbound object, remembering the first problem.
class CFieldReader {
public:
    CFieldReader(const json& object, std::string& error) : m_object(object), m_error(error) {}

    bool ok() const { return m_error.empty(); }

    int64_t integer(const char* name, int64_t low, int64_t high) {
        const json* value = field(name);
        if (value == nullptr) return 0;
        if (!value->is_number_integer()) return fail(name, "is not an integer"), 0;
        const int64_t number = value->is_number_unsigned() && value->get<uint64_t>() > INT64_MAX
                                   ? INT64_MAX
                                   : value->get<int64_t>();
        if (number < low || number > high) return fail(name, "is out of range"), 0;
        return number;
    }

    // Absent or null: nullopt.
    std::optional<int64_t> optionalInteger(const char* name, int64_t low, int64_t high) {
        const auto found = m_object.find(name);
        if (found == m_object.end() || found->is_null()) return std::nullopt;
        const int64_t number = integer(name, low, high);
        if (!ok()) return std::nullopt;
        return number;
    }

    bool boolean(const char* name) {
        const json* value = field(name);
        if (value == nullptr) return false;
        if (!value->is_boolean()) return fail(name, "is not a boolean"), false;
        return value->get<bool>();
    }

    std::u16string text(const char* name, std::size_t maxUnits) {
        return optionalText(name, maxUnits, false).value_or(std::u16string());
    }

    // A text longer than `maxUnits` is cut there, never inside a surrogate pair.
    std::u16string cutText(const char* name, std::size_t maxUnits) {
        std::u16string text = optionalText(name, SIZE_MAX, false).value_or(std::u16string());
        text.resize(cutBeforeUnits(text, maxUnits).size());
        return text;
    }

    std::optional<std::u16string> optionalText(const char* name, std::size_t maxUnits, bool nullable) {
        const json* value = field(name);
        if (value == nullptr) return std::nullopt;
        if (nullable && value->is_null()) return std::nullopt;
        if (!value->is_string()) return fail(name, "is not a string"), std::nullopt;
        std::optional<std::u16string> converted = utf8ToUtf16(value->get_ref<const std::string&>());
        if (!converted) return fail(name, "is not UTF-8"), std::nullopt;
        if (converted->size() > maxUnits) return fail(name, "is too long"), std::nullopt;
        return converted;
    }

    // One of the `choices`, else a failure.
    std::string choice(const char* name, std::initializer_list<const char*> choices) {
        const std::string value = utf16ToUtf8(text(name, 32));
        if (!ok()) return {};
        for (const char* allowed : choices) {
            if (value == allowed) return value;
        }
        return fail(name, "is not one of its choices"), std::string();
    }

private:
    const json* field(const char* name) {
        if (!ok()) return nullptr;
        const auto found = m_object.find(name);
        if (found == m_object.end()) return fail(name, "is missing"), nullptr;
        return &*found;
    }
    void fail(const char* name, const char* why) {
        if (ok()) m_error = std::string("field \"") + name + "\" " + why;
    }

    const json& m_object;
    std::string& m_error;
};

constexpr int64_t kMaxId = (int64_t{1} << 53);
constexpr int64_t kInt32Min = std::numeric_limits<int32_t>::min();
constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();
constexpr int32_t kMaxBandSide = 100000;
// Longer addresses are cut; the word list keeps no more of them.
constexpr std::size_t kMaxWordUrlUnits = 4096;
constexpr std::size_t kMaxWordFormsUnits = 64 * 1024;

// The Text Color dialog's edit holds seven characters; a longer answer is cut by the command.
constexpr std::size_t kMaxColorAnswerUnits = 64;

std::optional<int32_t> optionalFontHeight(CFieldReader& in) {
    const std::optional<int64_t> height = in.optionalInteger("fontHeight", kInt32Min, kInt32Max);
    if (!height) return std::nullopt;
    return static_cast<int32_t>(*height);
}

std::optional<InboundMessage> readByType(const std::string& type, CFieldReader& in) {
    if (type == "pointer") {
        PointerMessage m;
        m.tab = in.integer("tab", -1, kMaxId);
        m.frame = in.integer("frame", 0, kMaxId);
        m.seq = in.integer("seq", 0, kMaxId);
        m.x = static_cast<int32_t>(in.integer("x", kInt32Min, kInt32Max));
        m.y = static_cast<int32_t>(in.integer("y", kInt32Min, kInt32Max));
        m.character = in.optionalText("character", 2, true);
        m.word = in.cutText("word", kMaxCapturedUnits);
        m.sentence = in.cutText("sentence", kMaxCapturedUnits);
        m.hasBody = in.boolean("hasBody");
        return m;
    }
    if (type == "command") {
        CommandMessage m;
        m.tab = in.integer("tab", -1, kMaxId);
        m.id = static_cast<uint32_t>(in.integer("id", 0, std::numeric_limits<uint32_t>::max()));
        m.bandHeight = static_cast<int32_t>(in.integer("bandHeight", 0, kMaxBandSide));
        m.fontHeight = optionalFontHeight(in);
        return m;
    }
    if (type == "colorAnswer") {
        ColorAnswerMessage m;
        m.tab = in.integer("tab", -1, kMaxId);
        m.dialog = in.integer("dialog", 1, kMaxId);
        m.result = static_cast<int32_t>(in.integer("result", kInt32Min, kInt32Max));
        m.text = in.text("text", kMaxColorAnswerUnits);
        return m;
    }
    if (type == "translate") {
        TranslateMessage m;
        m.tab = in.integer("tab", -1, kMaxId);
        m.text = in.text("text", kMaxTranslateUnits);
        return m;
    }
    if (type == "key") {
        KeyMessage m;
        m.tab = in.integer("tab", -1, kMaxId);
        const std::u16string key = in.text("key", 32);
        m.key = utf16ToUtf8(key);
        m.down = in.boolean("down");
        return m;
    }
    if (type == "show") return ShowMessage{in.boolean("visible")};
    if (type == "band" || type == "bandClosed") {
        const int64_t tab = in.integer("tab", -1, kMaxId);
        const auto width = static_cast<int32_t>(in.integer("width", 0, kMaxBandSide));
        const auto height = static_cast<int32_t>(in.integer("height", 0, kMaxBandSide));
        if (type == "bandClosed") return BandClosedMessage{tab, width, height};
        const std::optional<int32_t> fontHeight = optionalFontHeight(in);
        const std::optional<int64_t> viewHeight = in.optionalInteger("viewHeight", 0, kMaxBandSide);
        return BandRequestMessage{tab, width, height, fontHeight,
                                  viewHeight ? std::optional<int32_t>(static_cast<int32_t>(*viewHeight)) : std::nullopt};
    }
    if (type == "tabClosed") return TabClosedMessage{in.integer("tab", -1, kMaxId)};
    if (type == "setSetting") {
        SetSettingMessage m;
        m.name = in.text("name", 32);
        m.value = static_cast<int32_t>(in.integer("value", 0, 1));
        return m;
    }
    if (type == "getReaderSettings") return ReaderSettingsRequest{};
    if (type == "noticeClosed") {
        const int64_t tab = in.integer("tab", -1, kMaxId);
        return NoticeClosedMessage{tab, in.integer("notice", 1, kMaxId)};
    }
    if (type == "saveWord") {
        SaveWordMessage m;
        m.tab = in.integer("tab", -1, kMaxId);
        m.frame = in.integer("frame", 0, kMaxId);
        m.seq = in.integer("seq", 0, kMaxId);
        m.url = in.cutText("url", kMaxWordUrlUnits);
        return m;
    }
    if (type == "listWords") return ListWordsMessage{};
    if (type == "removeWord") {
        RemoveWordMessage m;
        m.index = in.integer("index", 0, kMaxId);
        m.forms = in.text("forms", kMaxWordFormsUnits);
        return m;
    }
    if (type == "exportWords") return ExportWordsMessage{in.choice("format", {"anki", "csv"})};
    return std::nullopt;
}

}  // namespace

std::optional<InboundMessage> parseInboundMessage(const std::string& frame, std::string& error) {
    error.clear();
    const json message = json::parse(frame, nullptr, false);
    if (message.is_discarded()) return error = "not JSON", std::nullopt;
    if (!message.is_object()) return error = "not a JSON object", std::nullopt;
    const auto type = message.find("type");
    if (type == message.end() || !type->is_string()) return error = "no type", std::nullopt;
    CFieldReader in(message, error);
    std::optional<InboundMessage> parsed = readByType(type->get<std::string>(), in);
    if (!parsed && error.empty()) error = "unknown type \"" + escapeForLog(type->get<std::string>()) + "\"";
    if (!in.ok()) return std::nullopt;
    return parsed;
}

std::optional<int64_t> tabOfRefusedTranslation(const std::string& frame) {
    const json message = json::parse(frame, nullptr, false);
    if (!message.is_object()) return std::nullopt;
    const auto type = message.find("type");
    if (type == message.end() || *type != "translate") return std::nullopt;
    std::string error;
    CFieldReader in(message, error);
    const int64_t tab = in.integer("tab", -1, kMaxId);
    if (!in.ok()) return std::nullopt;
    return tab;
}

std::string escapeForLog(std::string_view text, std::size_t maxBytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text.substr(0, maxBytes)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
            out.push_back(c);
        } else {
            out += "\\x";
            out.push_back(kHex[byte >> 4]);
            out.push_back(kHex[byte & 0x0F]);
        }
    }
    if (text.size() > maxBytes) out += "...";
    return out;
}

}  // namespace pelux
