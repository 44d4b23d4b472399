#include "geomFeature/host/uikit/CNumEdit.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cwchar>

namespace Norvane {

namespace {

constexpr int kMaxDigits = 15;

// A decimal number and nothing else (surrounding spaces allowed); false for text, exponents, inf, nan.
bool ParseNumber(const std::wstring& text, double& value) {
    const std::wstring::size_type first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos) {
        return false;
    }
    const std::wstring::size_type last = text.find_last_not_of(L' ');
    const std::wstring body = text.substr(first, last - first + 1);
    if (body.find_first_not_of(L"0123456789.+-") != std::wstring::npos) {
        return false;
    }
    wchar_t* end = nullptr;
    const double parsed = std::wcstod(body.c_str(), &end);
    if (end != body.c_str() + body.size() || !std::isfinite(parsed)) {
        return false;
    }
    value = parsed;
    return true;
}

}  // namespace

void CNumEdit::Init(double value, int digits, int flag) {
    m_digits = std::clamp(digits, 0, kMaxDigits);
    m_allowNegative = flag != 0 ? 1 : 0;
    m_value = value;
    wchar_t buffer[64];
    std::swprintf(buffer, sizeof(buffer) / sizeof(buffer[0]), L"%.*f", m_digits, value);
    m_text = buffer;
}

int CNumEdit::SetText(const std::wstring& text) {
    m_text = text;
    double value = 0.0;
    if (!ParseNumber(text, value) || (value < 0.0 && m_allowNegative == 0)) {
        return 0;
    }
    m_value = value;
    return 1;
}

}  // namespace Norvane
