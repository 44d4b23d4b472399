#include "geomFeature/host/datakit/DBField.h"

#include <cmath>
#include <utility>

namespace Norvane {

namespace {

const std::string kNoText;

// 2^63: the first double magnitude that no longer fits in a signed 64-bit integer.
constexpr double kInt64Bound = 9223372036854775808.0;

}  // namespace

DBField::DBField(tagDBValueType textOrBlob, std::string bytes) {
    if (textOrBlob == tagDBValueType::Blob) {
        m_value = Blob{std::move(bytes)};
    } else {
        m_value = std::move(bytes);
    }
}

tagDBValueType DBField::GetValueType() const {
    switch (m_value.index()) {
        case 1:
            return tagDBValueType::Integer;
        case 2:
            return tagDBValueType::Real;
        case 3:
            return tagDBValueType::Text;
        case 4:
            return tagDBValueType::Blob;
        default:
            return tagDBValueType::Null;
    }
}

bool DBField::IsNumber() const {
    const tagDBValueType type = GetValueType();
    return type == tagDBValueType::Integer || type == tagDBValueType::Real;
}

std::int64_t DBField::GetInt64() const {
    if (const auto* i = std::get_if<std::int64_t>(&m_value)) {
        return *i;
    }
    if (const auto* d = std::get_if<double>(&m_value)) {
        // The range test is written so that NaN fails it too; converting an out-of-range double is UB.
        if (*d > -kInt64Bound && *d < kInt64Bound) {
            return static_cast<std::int64_t>(*d);
        }
    }
    return 0;
}

double DBField::GetDouble() const {
    if (const auto* d = std::get_if<double>(&m_value)) {
        return *d;
    }
    if (const auto* i = std::get_if<std::int64_t>(&m_value)) {
        return static_cast<double>(*i);
    }
    return 0.0;
}

std::int32_t DBField::GetInt32() const {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(GetInt64())));
}

const std::string& DBField::GetText() const {
    if (const auto* s = std::get_if<std::string>(&m_value)) {
        return *s;
    }
    if (const auto* b = std::get_if<Blob>(&m_value)) {
        return b->bytes;
    }
    return kNoText;
}

}  // namespace Norvane
