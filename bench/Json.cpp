#include "Json.h"

#include <cmath>
#include <cstdio>

namespace Skyhog::Bench {

std::string jsonString(const std::string& text)
{
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

namespace {

std::string numberText(double value, int decimals)
{
    if (!std::isfinite(value)) return "null";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return buffer;
}

} // namespace

JsonObject& JsonObject::add(const std::string& key, double value, int decimals)
{
    order_.emplace_back(false, scalars_.size());
    scalars_.emplace_back(key, numberText(value, decimals));
    return *this;
}

JsonObject& JsonObject::add(const std::string& key, const std::vector<double>& values, int decimals)
{
    std::string text = "[";
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) text += ", ";
        text += numberText(values[i], decimals);
    }
    order_.emplace_back(false, scalars_.size());
    scalars_.emplace_back(key, text + "]");
    return *this;
}

JsonObject& JsonObject::add(const std::string& key, long long value)
{
    order_.emplace_back(false, scalars_.size());
    scalars_.emplace_back(key, std::to_string(value));
    return *this;
}

JsonObject& JsonObject::add(const std::string& key, const std::string& value)
{
    order_.emplace_back(false, scalars_.size());
    scalars_.emplace_back(key, jsonString(value));
    return *this;
}

JsonObject& JsonObject::add(const std::string& key, const JsonObject& value)
{
    order_.emplace_back(true, objects_.size());
    objects_.emplace_back(key, value);
    return *this;
}

std::string JsonObject::str(int indent, int depth) const
{
    if (order_.empty()) return "{}";
    const std::string newline = indent > 0 ? "\n" : "";
    const std::string inner(static_cast<std::size_t>(indent * (depth + 1)), ' ');
    const std::string outer(static_cast<std::size_t>(indent * depth), ' ');
    const std::string colon = indent > 0 ? ": " : ":";
    std::string out = "{" + newline;
    for (std::size_t i = 0; i < order_.size(); ++i) {
        const auto [isObject, index] = order_[i];
        const std::string& key = isObject ? objects_[index].first : scalars_[index].first;
        out += inner + jsonString(key) + colon;
        out += isObject ? objects_[index].second.str(indent, depth + 1) : scalars_[index].second;
        if (i + 1 < order_.size()) out += ",";
        out += newline;
    }
    return out + outer + "}";
}

} // namespace Skyhog::Bench
