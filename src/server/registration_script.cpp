#include "server/registration_script.h"

#include <cstddef>

namespace pelux {
namespace {

enum class TokenKind { Word, Quoted, Open, Close, Equals, End };

struct Token {
    TokenKind kind = TokenKind::End;
    std::u16string text;
};

bool isHexDigit(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

bool equalsIgnoringCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char16_t x = a[i], y = b[i];
        if (x >= u'A' && x <= u'Z') x = static_cast<char16_t>(x - u'A' + u'a');
        if (y >= u'A' && y <= u'Z') y = static_cast<char16_t>(y - u'A' + u'a');
        if (x != y) return false;
    }
    return true;
}

// Splits the script into tokens. A brace directly followed by a hexadecimal digit begins a
// bare GUID key name such as {0002DF01-0000-0000-C000-000000000046}, not a block.
class CScriptLexer {
public:
    explicit CScriptLexer(std::u16string_view text) : m_text(text) {}

    std::optional<Token> next() {
        while (m_pos < m_text.size() && m_text[m_pos] <= u' ') ++m_pos;
        if (m_pos == m_text.size()) return Token{TokenKind::End, {}};
        const char16_t c = m_text[m_pos];
        if (c == u'{' && m_pos + 1 < m_text.size() && isHexDigit(m_text[m_pos + 1])) return guid();
        if (c == u'{') return single(TokenKind::Open);
        if (c == u'}') return single(TokenKind::Close);
        if (c == u'=') return single(TokenKind::Equals);
        if (c == u'\'') return quoted();
        return word();
    }

private:
    Token single(TokenKind kind) {
        ++m_pos;
        return Token{kind, {}};
    }

    std::optional<Token> guid() {
        const size_t end = m_text.find(u'}', m_pos);
        if (end == std::u16string_view::npos) return std::nullopt;
        Token token{TokenKind::Word, std::u16string(m_text.substr(m_pos, end + 1 - m_pos))};
        m_pos = end + 1;
        return token;
    }

    // A doubled quote inside a quoted text stands for one quote.
    std::optional<Token> quoted() {
        Token token{TokenKind::Quoted, {}};
        for (++m_pos; m_pos < m_text.size(); ++m_pos) {
            if (m_text[m_pos] != u'\'') {
                token.text += m_text[m_pos];
            } else if (m_pos + 1 < m_text.size() && m_text[m_pos + 1] == u'\'') {
                token.text += u'\'';
                ++m_pos;
            } else {
                ++m_pos;
                return token;
            }
        }
        return std::nullopt;
    }

    Token word() {
        const size_t start = m_pos;
        while (m_pos < m_text.size() && m_text[m_pos] > u' ' && m_text[m_pos] != u'{' &&
               m_text[m_pos] != u'}' && m_text[m_pos] != u'=' && m_text[m_pos] != u'\'')
            ++m_pos;
        return Token{TokenKind::Word, std::u16string(m_text.substr(start, m_pos - start))};
    }

    std::u16string_view m_text;
    size_t m_pos = 0;
};

// Replaces %NAME% with the variable's value and %% with one percent sign.
std::optional<std::u16string> expand(std::u16string_view text, const ScriptVariables& variables) {
    std::u16string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != u'%') {
            out += text[i];
            continue;
        }
        const size_t end = text.find(u'%', i + 1);
        if (end == std::u16string_view::npos) return std::nullopt;
        const std::u16string_view name = text.substr(i + 1, end - i - 1);
        if (name.empty()) {
            out += u'%';
        } else {
            const auto found = variables.find(name);
            if (found == variables.end()) return std::nullopt;
            out += found->second;
        }
        i = end;
    }
    return out;
}

class CScriptParser {
public:
    CScriptParser(std::u16string_view script, const ScriptVariables& variables)
        : m_lexer(script), m_variables(variables) {}

    std::optional<ParsedScript> parse() {
        ParsedScript script;
        if (!advance()) return std::nullopt;
        while (m_token.kind != TokenKind::End) {
            ScriptRoot root;
            if (!parseRootName(root.root) || !expectOpen()) return std::nullopt;
            ScriptKey holder;
            if (!parseBody(holder, false)) return std::nullopt;
            root.keys = std::move(holder.children);
            script.roots.push_back(std::move(root));
        }
        return script;
    }

private:
    bool advance() {
        auto next = m_lexer.next();
        if (!next) return false;
        m_token = std::move(*next);
        return true;
    }

    bool isWord(std::u16string_view keyword) const {
        return m_token.kind == TokenKind::Word && equalsIgnoringCase(m_token.text, keyword);
    }

    bool parseRootName(RegistryRoot& root) {
        if (isWord(u"HKCR") || isWord(u"HKEY_CLASSES_ROOT")) {
            root = RegistryRoot::ClassesRoot;
        } else if (isWord(u"HKLM") || isWord(u"HKEY_LOCAL_MACHINE")) {
            root = RegistryRoot::LocalMachine;
        } else {
            return false;
        }
        return advance();
    }

    bool expectOpen() { return m_token.kind == TokenKind::Open && advance(); }

    // A name, bare or quoted, with its variables replaced.
    std::optional<std::u16string> takeName() {
        if (m_token.kind != TokenKind::Word && m_token.kind != TokenKind::Quoted) return std::nullopt;
        auto name = expand(m_token.text, m_variables);
        if (!name || name->empty() || !advance()) return std::nullopt;
        return name;
    }

    // `= s 'text'`
    std::optional<std::u16string> takeStringAssignment() {
        if (m_token.kind != TokenKind::Equals || !advance()) return std::nullopt;
        if (!isWord(u"s") || !advance()) return std::nullopt;
        if (m_token.kind != TokenKind::Quoted) return std::nullopt;
        auto text = expand(m_token.text, m_variables);
        if (!text || !advance()) return std::nullopt;
        return text;
    }

    // Entries up to the closing brace. Named values belong to keys: a bare `val` directly under a
    // root is a fault, not a key of that name.
    bool parseBody(ScriptKey& parent, bool valuesAllowed) {
        while (m_token.kind != TokenKind::Close) {
            if (m_token.kind == TokenKind::End) return false;
            if (isWord(u"val")) {
                if (!valuesAllowed || !advance()) return false;
                ScriptValue value;
                auto name = takeName();
                if (!name) return false;
                value.name = std::move(*name);
                auto text = takeStringAssignment();
                if (!text) return false;
                value.text = std::move(*text);
                parent.values.push_back(std::move(value));
                continue;
            }
            ScriptKey key;
            if (!parseKey(key)) return false;
            parent.children.push_back(std::move(key));
        }
        return advance();
    }

    bool parseKey(ScriptKey& key) {
        if (isWord(u"NoRemove")) {
            key.mark = KeyMark::NoRemove;
            if (!advance()) return false;
        } else if (isWord(u"ForceRemove")) {
            key.mark = KeyMark::ForceRemove;
            if (!advance()) return false;
        }
        auto name = takeName();
        if (!name) return false;
        key.name = std::move(*name);
        if (m_token.kind == TokenKind::Equals) {
            key.defaultText = takeStringAssignment();
            if (!key.defaultText) return false;
        }
        if (m_token.kind == TokenKind::Open) {
            if (!advance()) return false;
            return parseBody(key, true);
        }
        return true;
    }

    CScriptLexer m_lexer;
    const ScriptVariables& m_variables;
    Token m_token;
};

bool failed(int32_t status) { return status != 0; }
bool failedUnlessAbsent(int32_t status) { return status != 0 && status != kRegistryNotFound; }

std::u16string childPath(const std::u16string& parent, const std::u16string& name) {
    return parent.empty() ? name : parent + u'\\' + name;
}

int32_t registerKey(const ScriptKey& key, const std::u16string& parent, RegistryRoot root,
                    IRegistry& registry) {
    const std::u16string path = childPath(parent, key.name);
    if (key.mark == KeyMark::ForceRemove) {
        const int32_t status = registry.deleteTree(root, path);
        if (failedUnlessAbsent(status)) return status;
    }
    if (const int32_t status = registry.createKey(root, path); failed(status)) return status;
    if (key.defaultText) {
        const int32_t status = registry.setValue(root, path, u"", *key.defaultText);
        if (failed(status)) return status;
    }
    for (const ScriptValue& value : key.values) {
        const int32_t status = registry.setValue(root, path, value.name, value.text);
        if (failed(status)) return status;
    }
    for (const ScriptKey& child : key.children) {
        if (const int32_t status = registerKey(child, path, root, registry); failed(status))
            return status;
    }
    return 0;
}

int32_t unregisterKey(const ScriptKey& key, const std::u16string& parent, RegistryRoot root,
                      IRegistry& registry) {
    const std::u16string path = childPath(parent, key.name);
    if (key.mark == KeyMark::ForceRemove) {
        const int32_t status = registry.deleteTree(root, path);
        return failedUnlessAbsent(status) ? status : 0;
    }
    for (const ScriptValue& value : key.values) {
        const int32_t status = registry.deleteValue(root, path, value.name);
        if (failedUnlessAbsent(status)) return status;
    }
    for (const ScriptKey& child : key.children) {
        if (const int32_t status = unregisterKey(child, path, root, registry); failed(status))
            return status;
    }
    if (key.mark == KeyMark::NoRemove) return 0;
    const int32_t status = registry.deleteKeyIfLeaf(root, path);
    return failedUnlessAbsent(status) ? status : 0;
}

}  // namespace

std::optional<ParsedScript> parseRegistrationScript(std::u16string_view script,
                                                    const ScriptVariables& variables) {
    return CScriptParser(script, variables).parse();
}

int32_t runRegistrationScript(const ParsedScript& script, ScriptMode mode, IRegistry& registry) {
    for (const ScriptRoot& root : script.roots) {
        for (const ScriptKey& key : root.keys) {
            const int32_t status = mode == ScriptMode::Register
                                       ? registerKey(key, u"", root.root, registry)
                                       : unregisterKey(key, u"", root.root, registry);
            if (failed(status)) return status;
        }
    }
    return 0;
}

int32_t runRegistrationScript(std::u16string_view script, const ScriptVariables& variables,
                              ScriptMode mode, IRegistry& registry) {
    const auto parsed = parseRegistrationScript(script, variables);
    if (!parsed) return kScriptSyntaxError;
    return runRegistrationScript(*parsed, mode, registry);
}

}  // namespace pelux
