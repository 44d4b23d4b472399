#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include <boost/shared_ptr.hpp>

namespace Norvane {

// Storage class of one value as the database returned it.
enum class tagDBValueType : int {
    Null,
    Integer,
    Real,
    Text,
    Blob,
};

// One column value of a result row. Readers ask for the value in the representation their column
// needs (64-bit integer, double, low 32-bit integer); GetValueType tells a careful reader whether the
// stored value really is of that kind, so that a damaged file is noticed instead of read as zeros.
class DBField {
public:
    DBField() = default;  // NULL
    explicit DBField(std::int64_t value) : m_value(value) {}
    explicit DBField(double value) : m_value(value) {}
    DBField(tagDBValueType textOrBlob, std::string bytes);

    tagDBValueType GetValueType() const;
    bool IsNull() const { return GetValueType() == tagDBValueType::Null; }
    // Integer or real.
    bool IsNumber() const;

    // Numbers convert by value: a real reads as an integer truncated toward zero (0 when it does not fit
    // in 64 bits or is not finite), an integer reads as the nearest double. Null, text and blob read as 0.
    std::int64_t GetInt64() const;
    double GetDouble() const;
    // The low 32 bits of GetInt64, as a signed value.
    std::int32_t GetInt32() const;
    // The bytes of a text or blob value; empty for the other kinds.
    const std::string& GetText() const;

private:
    struct Blob {
        std::string bytes;
    };
    std::variant<std::monostate, std::int64_t, double, std::string, Blob> m_value;
};

using DBFieldPtr = boost::shared_ptr<DBField>;

}  // namespace Norvane
