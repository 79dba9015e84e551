#include "json_lite.h"

#include <cctype>
#include <cstdlib>

class JsonParser {
public:
    explicit JsonParser(const std::string& text) : m_text(text) {}

    bool ParseValue(JsonValue& out) {
        SkipSpace();
        if (m_pos >= m_text.size()) return false;
        const char c = m_text[m_pos];
        if (c == '{') return ParseObject(out);
        if (c == '[') return ParseArray(out);
        if (c == '"') {
            out.m_kind = JsonValue::Kind::String;
            return ParseString(out.m_string);
        }
        if (Literal("true")) {
            out.m_kind = JsonValue::Kind::Bool;
            out.m_bool = true;
            return true;
        }
        if (Literal("false")) {
            out.m_kind = JsonValue::Kind::Bool;
            return true;
        }
        if (Literal("null")) return true;
        char* end = nullptr;
        out.m_number = std::strtod(m_text.c_str() + m_pos, &end);
        const size_t used = static_cast<size_t>(end - (m_text.c_str() + m_pos));
        if (used == 0) return false;
        m_pos += used;
        out.m_kind = JsonValue::Kind::Number;
        return true;
    }

    bool AtEnd() {
        SkipSpace();
        return m_pos == m_text.size();
    }

private:
    void SkipSpace() {
        while (m_pos < m_text.size() && std::isspace(static_cast<unsigned char>(m_text[m_pos])))
            ++m_pos;
    }
    bool Literal(const char* word) {
        const std::string w(word);
        if (m_text.compare(m_pos, w.size(), w) != 0) return false;
        m_pos += w.size();
        return true;
    }
    bool Expect(char c) {
        SkipSpace();
        if (m_pos >= m_text.size() || m_text[m_pos] != c) return false;
        ++m_pos;
        return true;
    }
    bool ParseString(std::string& out) {
        if (!Expect('"')) return false;
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos++];
            if (c == '"') return true;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (m_pos >= m_text.size()) return false;
            const char e = m_text[m_pos++];
            switch (e) {
                case 'n':
                    out += '\n';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'u': {
                    if (m_pos + 4 > m_text.size()) return false;
                    const unsigned cp = std::strtoul(m_text.substr(m_pos, 4).c_str(), nullptr, 16);
                    m_pos += 4;
                    AppendUtf8(out, cp);
                    break;
                }
                default:
                    out += e;
            }
        }
        return false;
    }
    static void AppendUtf8(std::string& out, unsigned cp) {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    bool ParseArray(JsonValue& out) {
        out.m_kind = JsonValue::Kind::Array;
        ++m_pos;
        if (Expect(']')) return true;
        do {
            out.m_items.emplace_back();
            if (!ParseValue(out.m_items.back())) return false;
        } while (Expect(','));
        return Expect(']');
    }
    bool ParseObject(JsonValue& out) {
        out.m_kind = JsonValue::Kind::Object;
        ++m_pos;
        if (Expect('}')) return true;
        do {
            SkipSpace();
            std::string key;
            if (!ParseString(key) || !Expect(':')) return false;
            if (!ParseValue(out.m_members[key])) return false;
        } while (Expect(','));
        return Expect('}');
    }

    const std::string& m_text;
    size_t m_pos = 0;
};

JsonValue JsonValue::Parse(const std::string& text, bool* ok) {
    JsonValue root;
    JsonParser parser(text);
    const bool good = parser.ParseValue(root) && parser.AtEnd();
    if (ok) *ok = good;
    return good ? root : JsonValue();
}

const JsonValue& JsonValue::operator[](const std::string& key) const {
    static const JsonValue kNull;
    auto it = m_members.find(key);
    return it == m_members.end() ? kNull : it->second;
}

const JsonValue& JsonValue::operator[](size_t i) const {
    static const JsonValue kNull;
    return i < m_items.size() ? m_items[i] : kNull;
}

double JsonValue::Number() const {
    if (m_kind == Kind::Number) return m_number;
    if (m_kind == Kind::String) return std::strtod(m_string.c_str(), nullptr);
    return 0;
}

std::string JsonValue::String() const {
    return m_kind == Kind::String ? m_string : std::string();
}
