// Just enough JSON to read ffprobe's answers in tests.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

class JsonValue {
public:
    enum class Kind { Null, Bool, Number, String, Array, Object };

    static JsonValue Parse(const std::string& text, bool* ok = nullptr);

    Kind kind() const { return m_kind; }
    bool IsNull() const { return m_kind == Kind::Null; }
    // Members and elements; a missing one reads as null.
    const JsonValue& operator[](const std::string& key) const;
    const JsonValue& operator[](size_t i) const;
    size_t size() const { return m_kind == Kind::Array ? m_items.size() : m_members.size(); }
    // Strings of digits (ffprobe writes many numbers as strings) read as numbers.
    double Number() const;
    std::string String() const;

private:
    friend class JsonParser;
    Kind m_kind = Kind::Null;
    bool m_bool = false;
    double m_number = 0;
    std::string m_string;
    std::vector<JsonValue> m_items;
    std::map<std::string, JsonValue> m_members;
};
