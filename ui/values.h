#pragma once
// A property value or operation argument: integer, truth value, number,
// single-precision number, text or byte block.
#include "ui/resources.h"

#include <cstdint>
#include <string>
#include <variant>

namespace ui {

struct Blob {
    Bytes data;
    bool operator==(const Blob&) const = default;
};

class Value {
public:
    Value() = default;
    Value(int v) : v_(int32_t(v)) {}
    Value(bool v) : v_(v) {}
    Value(double v) : v_(v) {}
    Value(float v) : v_(v) {}
    Value(const char* s) : v_(std::string(s)) {}
    Value(std::string s) : v_(std::move(s)) {}
    Value(Blob b) : v_(std::move(b)) {}

    bool is_empty() const { return v_.index() == 0; }
    bool is_int() const { return std::holds_alternative<int32_t>(v_); }
    bool is_bool() const { return std::holds_alternative<bool>(v_); }
    bool is_double() const { return std::holds_alternative<double>(v_); }
    bool is_float() const { return std::holds_alternative<float>(v_); }
    bool is_text() const { return std::holds_alternative<std::string>(v_); }
    bool is_bytes() const { return std::holds_alternative<Blob>(v_); }

    // Conversions by the value rules.
    double number() const;
    int32_t integer() const; // numbers truncate toward zero, texts take their leading whole number
    bool truth() const;
    std::string text() const; // number-to-text rules; a byte block up to its first zero byte
    Bytes bytes() const; // a byte block; a text gives its bytes

private:
    std::variant<std::monostate, int32_t, bool, double, float, std::string, Blob> v_;
};

} // namespace ui
