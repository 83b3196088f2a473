#include "batch/json.h"

#include <cstdio>

std::string json_string(const std::string& s)
{
    std::string out = "\"";
    for (unsigned char c : s) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        default:
            if (c < 0x20 || c == 0x7f) {
                // Control characters as escapes, so the output stays
                // valid JSON; other bytes pass unchanged.
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

json_object& json_object::add(const std::string& key, const std::string& json_value)
{
    if (!body.empty()) body += ",";
    body += json_string(key) + ":" + json_value;
    return *this;
}

json_object& json_object::add(const std::string& key, long long value)
{
    return add(key, std::to_string(value));
}

json_object& json_object::add_bool(const std::string& key, bool value)
{
    return add(key, std::string(value ? "true" : "false"));
}

json_object& json_object::add_text(const std::string& key, const std::string& text)
{
    return add(key, json_string(text));
}

std::string json_array(const std::vector<long long>& values)
{
    std::vector<std::string> v;
    for (long long x : values) v.push_back(std::to_string(x));
    return json_array(v);
}

std::string json_array(const std::vector<std::string>& json_values)
{
    std::string out = "[";
    for (std::size_t i = 0; i < json_values.size(); ++i) out += (i ? "," : "") + json_values[i];
    return out + "]";
}
