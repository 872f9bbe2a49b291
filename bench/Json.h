// Writes one JSON object with numbers, arrays of numbers, strings and nested objects, keys in
// the order they are added. Numbers that are not finite are written as null.
#pragma once
#include <string>
#include <utility>
#include <vector>

namespace Skyhog::Bench {

class JsonObject {
public:
    JsonObject& add(const std::string& key, double value, int decimals = 3);
    JsonObject& add(const std::string& key, long long value);
    JsonObject& add(const std::string& key, int value) { return add(key, static_cast<long long>(value)); }
    JsonObject& add(const std::string& key, const std::string& value);
    JsonObject& add(const std::string& key, const JsonObject& value);
    JsonObject& add(const std::string& key, const std::vector<double>& values, int decimals = 3);

    // Compact when indent is 0; otherwise one member a line.
    std::string str(int indent = 2, int depth = 0) const;

private:
    std::vector<std::pair<std::string, std::string>> scalars_;
    std::vector<std::pair<std::string, JsonObject>> objects_;
    std::vector<std::pair<bool, std::size_t>> order_; // (is object, index)
};

// A JSON string literal with the required escapes.
std::string jsonString(const std::string& text);

} // namespace Skyhog::Bench
