#pragma once

#include <string>

namespace Norvane {

// A numeric edit control: the text the user sees and types, and the number it stands for. The number is
// shown with a fixed count of decimals; what the user types is kept as typed.
class CNumEdit {
public:
    // Shows `value` with `digits` decimals (clamped to 0..15). `flag` non-zero allows negative numbers; with
    // 0, a text with a minus sign is not a number for this control.
    void Init(double value, int digits, int flag);
    // The user (or a script) replaces the text. Answers 1 when the text is a number the control accepts.
    int SetText(const std::wstring& text);
    const std::wstring& GetText() const { return m_text; }
    int GetDigits() const { return m_digits; }
    // The number the text holds; while the text holds no acceptable number, the last one it held (at first
    // the Init value).
    double Get_Number() const { return m_value; }

private:
    std::wstring m_text;
    double m_value = 0.0;
    int m_digits = 0;
    int m_allowNegative = 0;
};

}  // namespace Norvane
