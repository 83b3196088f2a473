// A little JSON writing: one object per file, on one line, keys in a fixed
// order.
#pragma once

#include <string>
#include <vector>

// The string as a JSON string literal, quotes included.
std::string json_string(const std::string& s);

// Builds "{...}": add() appends "key":value with the value already in JSON.
class json_object {
public:
    json_object& add(const std::string& key, const std::string& json_value);
    json_object& add(const std::string& key, long long value);
    json_object& add_bool(const std::string& key, bool value);
    json_object& add_text(const std::string& key, const std::string& text);
    std::string str() const { return "{" + body + "}"; }

private:
    std::string body;
};

std::string json_array(const std::vector<long long>& values);
std::string json_array(const std::vector<std::string>& json_values);
