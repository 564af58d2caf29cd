#include "platform/com/Registrar.h"

#include "platform/com/ComTypes.h"

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <vector>

namespace platform {

namespace {

enum class TokenKind { Word, Quoted, Open, Close, Equals };

struct Token {
    TokenKind kind;
    std::string text;
    int line;
};

enum KeyFlag { kPlain, kNoRemove, kForceRemove, kDelete };

struct ScriptKey {
    std::string name;
    KeyFlag flag = kPlain;
    std::optional<std::string> defaultValue;
    std::vector<std::pair<std::string, std::string>> values;
    std::vector<ScriptKey> subKeys;
};

struct ScriptRoot {
    std::string name;
    std::vector<ScriptKey> keys;
};

constexpr int kMaxDepth = 64;

bool SameName(std::string_view a, std::string_view b)
{
    RegistryNameLess less;
    return !less(a, b) && !less(b, a);
}

bool IsRootName(const std::string& full)
{
    for (const char* root :
         {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS", "HKEY_CURRENT_CONFIG"}) {
        if (full == root)
            return true;
    }
    return false;
}

class CScriptLexer {
public:
    CScriptLexer(std::string_view text, const std::map<std::string, std::string, RegistryNameLess>& replacements)
        : m_text(text)
        , m_replacements(replacements)
    {
    }

    bool Run(std::vector<Token>& tokens, std::string& error)
    {
        while (true) {
            SkipSpace();
            if (m_pos >= m_text.size())
                return true;
            int line = m_line;
            Token token {TokenKind::Word, {}, line};
            if (m_text[m_pos] == '\'') {
                token.kind = TokenKind::Quoted;
                if (!ReadQuoted(token.text, error))
                    return false;
            } else {
                std::size_t start = m_pos;
                while (m_pos < m_text.size() && !IsSpace(m_text[m_pos]))
                    ++m_pos;
                std::string_view raw = m_text.substr(start, m_pos - start);
                if (raw == "{" || raw == "}" || raw == "=") {
                    token.kind = raw == "{" ? TokenKind::Open : raw == "}" ? TokenKind::Close : TokenKind::Equals;
                    token.text = std::string(raw);
                } else if (!Replace(raw, line, token.text, error))
                    return false;
            }
            tokens.push_back(std::move(token));
        }
    }

private:
    static bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

    void SkipSpace()
    {
        while (m_pos < m_text.size() && IsSpace(m_text[m_pos])) {
            if (m_text[m_pos] == '\n')
                ++m_line;
            ++m_pos;
        }
    }

    // Replaces %NAME% in a piece of script text; the values go in as they are.
    bool Replace(std::string_view raw, int line, std::string& out, std::string& error)
    {
        for (std::size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] != '%') {
                out += raw[i];
                continue;
            }
            std::size_t end = raw.find('%', i + 1);
            if (end == std::string_view::npos) {
                error = "line " + std::to_string(line) + ": '%' without its closing '%'";
                return false;
            }
            std::string_view name = raw.substr(i + 1, end - i - 1);
            if (name.empty()) {
                out += '%';
            } else {
                auto it = m_replacements.find(name);
                if (it == m_replacements.end()) {
                    error = "line " + std::to_string(line) + ": no replacement for %" + std::string(name) + "%";
                    return false;
                }
                out += it->second;
            }
            i = end;
        }
        return true;
    }

    bool ReadQuoted(std::string& out, std::string& error)
    {
        int line = m_line;
        ++m_pos;
        std::string raw;
        while (true) {
            if (m_pos >= m_text.size()) {
                error = "line " + std::to_string(line) + ": text without its closing quote";
                return false;
            }
            char c = m_text[m_pos++];
            if (c == '\'') {
                if (m_pos < m_text.size() && m_text[m_pos] == '\'') {
                    raw += '\'';
                    ++m_pos;
                    continue;
                }
                break;
            }
            if (c == '\n')
                ++m_line;
            raw += c;
        }
        return Replace(raw, line, out, error);
    }

    std::string_view m_text;
    const std::map<std::string, std::string, RegistryNameLess>& m_replacements;
    std::size_t m_pos = 0;
    int m_line = 1;
};

class CScriptParser {
public:
    explicit CScriptParser(const std::vector<Token>& tokens)
        : m_tokens(tokens)
    {
    }

    bool Run(std::vector<ScriptRoot>& roots, std::string& error)
    {
        while (m_pos < m_tokens.size()) {
            const Token& t = m_tokens[m_pos++];
            ScriptRoot root;
            root.name = RegistryRootName(t.text);
            if (t.kind != TokenKind::Word || !IsRootName(root.name))
                return Fail(t, "'" + t.text + "' is no root key", error);
            if (!Expect(TokenKind::Open, "'{'", error))
                return false;
            ScriptKey holder;
            if (!ParseBody(holder, 1, false, error))
                return false;
            root.keys = std::move(holder.subKeys);
            roots.push_back(std::move(root));
        }
        return true;
    }

private:
    bool Fail(const Token& t, const std::string& what, std::string& error)
    {
        error = "line " + std::to_string(t.line) + ": " + what;
        return false;
    }

    bool FailAtEnd(const std::string& what, std::string& error)
    {
        int line = m_tokens.empty() ? 1 : m_tokens.back().line;
        error = "line " + std::to_string(line) + ": script ends where " + what + " was expected";
        return false;
    }

    const Token* Peek() const { return m_pos < m_tokens.size() ? &m_tokens[m_pos] : nullptr; }

    bool Expect(TokenKind kind, const char* what, std::string& error)
    {
        const Token* t = Peek();
        if (!t)
            return FailAtEnd(what, error);
        if (t->kind != kind)
            return Fail(*t, std::string(what) + " expected, found '" + t->text + "'", error);
        ++m_pos;
        return true;
    }

    bool IsKeyword(const Token& t, const char* word) const
    {
        return t.kind == TokenKind::Word && SameName(t.text, word);
    }

    bool ReadName(std::string& name, bool bKey, std::string& error)
    {
        const Token* t = Peek();
        if (!t)
            return FailAtEnd("a name", error);
        if (t->kind != TokenKind::Word && t->kind != TokenKind::Quoted)
            return Fail(*t, "a name expected", error);
        if (bKey && (t->text.empty() || t->text.find('\\') != std::string::npos))
            return Fail(*t, "'" + t->text + "' is no key name", error);
        name = t->text;
        ++m_pos;
        return true;
    }

    bool ReadValue(std::string& value, std::string& error)
    {
        const Token* kind = Peek();
        if (!kind)
            return FailAtEnd("a value kind", error);
        if (kind->kind != TokenKind::Word)
            return Fail(*kind, "a value kind (s or d) expected", error);
        bool bNumber = SameName(kind->text, "d");
        if (!bNumber && !SameName(kind->text, "s"))
            return Fail(*kind, "value kind '" + kind->text + "' is not supported", error);
        ++m_pos;
        const Token* t = Peek();
        if (!t)
            return FailAtEnd("a value", error);
        if (t->kind != TokenKind::Word && t->kind != TokenKind::Quoted)
            return Fail(*t, "a value expected", error);
        ++m_pos;
        if (!bNumber) {
            value = t->text;
            return true;
        }
        // A number as decimal or 0x hexadecimal, kept as decimal text.
        const std::string& s = t->text;
        char* end = nullptr;
        errno = 0;
        unsigned long long n = std::strtoull(s.c_str(), &end, 0);
        if (s.empty() || s[0] == '-' || s[0] == '+' || *end != '\0' || errno != 0 || n > 0xFFFFFFFFull)
            return Fail(*t, "'" + s + "' is no number", error);
        value = std::to_string(n);
        return true;
    }

    bool ParseBody(ScriptKey& key, int depth, bool bValuesAllowed, std::string& error)
    {
        if (depth > kMaxDepth)
            return Fail(m_tokens[m_pos - 1], "keys nested too deep", error);
        while (true) {
            const Token* t = Peek();
            if (!t)
                return FailAtEnd("'}'", error);
            if (t->kind == TokenKind::Close) {
                ++m_pos;
                return true;
            }
            if (IsKeyword(*t, "val")) {
                if (!bValuesAllowed)
                    return Fail(*t, "a value directly under a root key", error);
                ++m_pos;
                std::string name, value;
                if (!ReadName(name, false, error) || !Expect(TokenKind::Equals, "'='", error) ||
                    !ReadValue(value, error))
                    return false;
                key.values.emplace_back(std::move(name), std::move(value));
                continue;
            }
            ScriptKey sub;
            while (const Token* f = Peek()) {
                KeyFlag flag;
                if (IsKeyword(*f, "NoRemove"))
                    flag = kNoRemove;
                else if (IsKeyword(*f, "ForceRemove"))
                    flag = kForceRemove;
                else if (IsKeyword(*f, "Delete"))
                    flag = kDelete;
                else
                    break;
                if (sub.flag != kPlain && sub.flag != flag)
                    return Fail(*f, "'" + f->text + "' contradicts the key's other flag", error);
                sub.flag = flag;
                ++m_pos;
            }
            if (!ReadName(sub.name, true, error))
                return false;
            if (const Token* e = Peek(); e && e->kind == TokenKind::Equals) {
                ++m_pos;
                std::string value;
                if (!ReadValue(value, error))
                    return false;
                sub.defaultValue = std::move(value);
            }
            if (const Token* o = Peek(); o && o->kind == TokenKind::Open) {
                ++m_pos;
                if (!ParseBody(sub, depth + 1, true, error))
                    return false;
            }
            key.subKeys.push_back(std::move(sub));
        }
    }

    const std::vector<Token>& m_tokens;
    std::size_t m_pos = 0;
};

void RegisterKey(CRegistryKey& parent, const ScriptKey& key)
{
    if (key.flag == kDelete) {
        parent.DeleteSubKey(key.name);
        return;
    }
    if (key.flag == kForceRemove)
        parent.DeleteSubKey(key.name);
    CRegistryKey& node = parent.CreateSubKey(key.name);
    if (key.defaultValue)
        node.SetValue("", *key.defaultValue);
    for (const auto& [name, value] : key.values)
        node.SetValue(name, value);
    for (const ScriptKey& sub : key.subKeys)
        RegisterKey(node, sub);
}

void UnregisterKey(CRegistryKey& parent, const ScriptKey& key)
{
    if (key.flag == kDelete)
        return;
    CRegistryKey* node = parent.FindSubKey(key.name);
    if (!node)
        return;
    if (key.flag == kForceRemove) {
        parent.DeleteSubKey(key.name);
        return;
    }
    for (const ScriptKey& sub : key.subKeys)
        UnregisterKey(*node, sub);
    for (const auto& value : key.values)
        node->DeleteValue(value.first);
    if (key.flag == kNoRemove)
        return;
    if (!node->HasSubKeys()) {
        parent.DeleteSubKey(key.name);
        return;
    }
    // Foreign subkeys keep the key; only what the script put there goes.
    if (key.defaultValue)
        node->DeleteValue("");
}

}  // namespace

CRegistrar::CRegistrar() = default;

CRegistrar::CRegistrar(CRegistryStore store)
    : m_store(std::move(store))
{
}

HRESULT CRegistrar::AddReplacement(std::string_view key, std::string_view item)
{
    if (key.empty() || key.find('%') != std::string_view::npos)
        return E_INVALIDARG;
    m_mapReplacements.insert_or_assign(std::string(key), std::string(item));
    return S_OK;
}

HRESULT CRegistrar::ClearReplacements()
{
    m_mapReplacements.clear();
    return S_OK;
}

HRESULT CRegistrar::StringRegister(std::string_view script)
{
    return Run(script, true);
}

HRESULT CRegistrar::StringUnregister(std::string_view script)
{
    return Run(script, false);
}

HRESULT CRegistrar::ApplyToTree(std::string_view script, bool bRegister, CRegistryKey& root)
{
    m_strError.clear();
    std::vector<Token> tokens;
    std::vector<ScriptRoot> roots;
    try {
        if (!CScriptLexer(script, m_mapReplacements).Run(tokens, m_strError) ||
            !CScriptParser(tokens).Run(roots, m_strError))
            return DISP_E_EXCEPTION;
        for (const ScriptRoot& r : roots) {
            if (bRegister) {
                CRegistryKey& node = root.CreateSubKey(r.name);
                for (const ScriptKey& key : r.keys)
                    RegisterKey(node, key);
            } else if (CRegistryKey* node = root.FindSubKey(r.name)) {
                for (const ScriptKey& key : r.keys)
                    UnregisterKey(*node, key);
            }
        }
    } catch (const std::bad_alloc&) {
        m_strError = "out of memory";
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT CRegistrar::Run(std::string_view script, bool bRegister)
{
    // Check the script before taking the store's lock, so a malformed one
    // never touches the file.
    CRegistryKey scratch;
    HRESULT hr = ApplyToTree(script, bRegister, scratch);
    if (FAILED(hr))
        return hr;
    hr = m_store.Update([&](CRegistryKey& root) { return ApplyToTree(script, bRegister, root); });
    if (!m_store.GetFailureText().empty())
        m_strError = m_store.GetFailureText();
    return hr;
}

}  // namespace platform
