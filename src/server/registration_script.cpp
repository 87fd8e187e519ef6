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
class Lexer {
public:
    explicit Lexer(std::u16string_view text) : text_(text) {}

    std::optional<Token> next() {
        while (pos_ < text_.size() && text_[pos_] <= u' ') ++pos_;
        if (pos_ == text_.size()) return Token{TokenKind::End, {}};
        const char16_t c = text_[pos_];
        if (c == u'{' && pos_ + 1 < text_.size() && isHexDigit(text_[pos_ + 1])) return guid();
        if (c == u'{') return single(TokenKind::Open);
        if (c == u'}') return single(TokenKind::Close);
        if (c == u'=') return single(TokenKind::Equals);
        if (c == u'\'') return quoted();
        return word();
    }

private:
    Token single(TokenKind kind) {
        ++pos_;
        return Token{kind, {}};
    }

    std::optional<Token> guid() {
        const size_t end = text_.find(u'}', pos_);
        if (end == std::u16string_view::npos) return std::nullopt;
        Token token{TokenKind::Word, std::u16string(text_.substr(pos_, end + 1 - pos_))};
        pos_ = end + 1;
        return token;
    }

    // A doubled quote inside a quoted text stands for one quote.
    std::optional<Token> quoted() {
        Token token{TokenKind::Quoted, {}};
        for (++pos_; pos_ < text_.size(); ++pos_) {
            if (text_[pos_] != u'\'') {
                token.text += text_[pos_];
            } else if (pos_ + 1 < text_.size() && text_[pos_ + 1] == u'\'') {
                token.text += u'\'';
                ++pos_;
            } else {
                ++pos_;
                return token;
            }
        }
        return std::nullopt;
    }

    Token word() {
        const size_t start = pos_;
        while (pos_ < text_.size() && text_[pos_] > u' ' && text_[pos_] != u'{' &&
               text_[pos_] != u'}' && text_[pos_] != u'=' && text_[pos_] != u'\'')
            ++pos_;
        return Token{TokenKind::Word, std::u16string(text_.substr(start, pos_ - start))};
    }

    std::u16string_view text_;
    size_t pos_ = 0;
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

class Parser {
public:
    Parser(std::u16string_view script, const ScriptVariables& variables)
        : lexer_(script), variables_(variables) {}

    std::optional<ParsedScript> parse() {
        ParsedScript script;
        if (!advance()) return std::nullopt;
        while (token_.kind != TokenKind::End) {
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
        auto next = lexer_.next();
        if (!next) return false;
        token_ = std::move(*next);
        return true;
    }

    bool isWord(std::u16string_view keyword) const {
        return token_.kind == TokenKind::Word && equalsIgnoringCase(token_.text, keyword);
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

    bool expectOpen() { return token_.kind == TokenKind::Open && advance(); }

    // A name, bare or quoted, with its variables replaced.
    std::optional<std::u16string> takeName() {
        if (token_.kind != TokenKind::Word && token_.kind != TokenKind::Quoted) return std::nullopt;
        auto name = expand(token_.text, variables_);
        if (!name || name->empty() || !advance()) return std::nullopt;
        return name;
    }

    // `= s 'text'`
    std::optional<std::u16string> takeStringAssignment() {
        if (token_.kind != TokenKind::Equals || !advance()) return std::nullopt;
        if (!isWord(u"s") || !advance()) return std::nullopt;
        if (token_.kind != TokenKind::Quoted) return std::nullopt;
        auto text = expand(token_.text, variables_);
        if (!text || !advance()) return std::nullopt;
        return text;
    }

    // Entries up to the closing brace. Named values belong to keys: a bare `val` directly under a
    // root is a fault, not a key of that name.
    bool parseBody(ScriptKey& parent, bool valuesAllowed) {
        while (token_.kind != TokenKind::Close) {
            if (token_.kind == TokenKind::End) return false;
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
        if (token_.kind == TokenKind::Equals) {
            key.defaultText = takeStringAssignment();
            if (!key.defaultText) return false;
        }
        if (token_.kind == TokenKind::Open) {
            if (!advance()) return false;
            return parseBody(key, true);
        }
        return true;
    }

    Lexer lexer_;
    const ScriptVariables& variables_;
    Token token_;
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
    return Parser(script, variables).parse();
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
