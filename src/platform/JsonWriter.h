#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace olvane {

// Writes compact JSON text straight into a string, byte for byte as json::dumpCompact writes the
// same value, without building the value first. The caller writes each object's keys in byte
// order, the order dumpCompact gives them.
class JsonWriter {
  public:
    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    JsonWriter& key(std::string_view name);

    JsonWriter& value(bool flag);
    JsonWriter& value(std::int64_t number);
    // Not finite: null, as dumpCompact writes it.
    JsonWriter& value(double number);
    // Invalid UTF-8 is replaced, as dumpCompact replaces it.
    JsonWriter& value(std::string_view text);
    JsonWriter& value(const char* text) { return value(std::string_view(text)); }

    template <typename T>
    JsonWriter& member(std::string_view name, const T& memberValue) {
        return key(name).value(memberValue);
    }

    // Each element as `writeOne(writer, element)` writes it.
    template <typename Range, typename WriteOne>
    JsonWriter& array(const Range& elements, WriteOne writeOne) {
        beginArray();
        for (const auto& element : elements) {
            writeOne(*this, element);
        }
        return endArray();
    }

    const std::string& text() const& { return text_; }
    std::string text() && { return std::move(text_); }

  private:
    // The comma that separates this token from the previous value, when one is due.
    void separate();
    void finishValue() { needsComma_ = true; }

    std::string text_;
    bool needsComma_ = false;
};

}  // namespace olvane
