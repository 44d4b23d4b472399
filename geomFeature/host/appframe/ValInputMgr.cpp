#include "geomFeature/host/appframe/ValInputMgr.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <string>
#include <system_error>

#include "geomFeature/host/appframe/InputKey.h"

namespace Norvane {

namespace {

bool IsAcceptedChar(unsigned int ch) {
    return (ch >= '0' && ch <= '9') || ch == '.' || ch == '+' || ch == '-' || ch == ',' || ch == ' ' ||
           ch == '@';
}

// A reader of the buffer's grammar; every method leaves the position after what it consumed.
class InputParser {
public:
    explicit InputParser(const std::wstring& text) {
        // The buffer only ever holds the ASCII characters accepted above.
        for (wchar_t c : text) {
            m_text.push_back(static_cast<char>(c));
        }
    }

    // Answers whether there was any space to skip.
    bool SkipSpaces() {
        const std::size_t start = m_pos;
        while (m_pos < m_text.size() && m_text[m_pos] == ' ') {
            ++m_pos;
        }
        return m_pos != start;
    }
    bool Take(char c) {
        if (m_pos < m_text.size() && m_text[m_pos] == c) {
            ++m_pos;
            return true;
        }
        return false;
    }
    bool AtEnd() const { return m_pos == m_text.size(); }

    // [+-]? (digits [. digits?] | . digits); false (position unspecified) when there is no such number or
    // it is out of the double range.
    bool Number(double& value) {
        const std::size_t start = m_pos;
        const bool negative = m_pos < m_text.size() && m_text[m_pos] == '-';
        if (negative || (m_pos < m_text.size() && m_text[m_pos] == '+')) {
            ++m_pos;
        }
        const std::size_t digitsStart = m_pos;
        std::size_t digits = 0;
        bool point = false;
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos];
            if (c >= '0' && c <= '9') {
                ++digits;
            } else if (c == '.' && !point) {
                point = true;
            } else {
                break;
            }
            ++m_pos;
        }
        if (digits == 0) {
            m_pos = start;
            return false;
        }
        double magnitude = 0.0;
        const auto result = std::from_chars(m_text.data() + digitsStart, m_text.data() + m_pos, magnitude,
                                            std::chars_format::fixed);
        if (result.ec != std::errc() || result.ptr != m_text.data() + m_pos || !std::isfinite(magnitude)) {
            return false;
        }
        value = negative ? -magnitude : magnitude;
        return true;
    }

private:
    std::string m_text;
    std::size_t m_pos = 0;
};

struct ParsedInput {
    int count = 0;  // 0 nothing usable, 1 a value, 2 a point
    bool relative = false;
    double a = 0.0;
    double b = 0.0;
};

ParsedInput Parse(const std::wstring& text) {
    InputParser in(text);
    ParsedInput parsed;
    in.SkipSpaces();
    const bool relative = in.Take('@');
    in.SkipSpaces();
    double a = 0.0;
    if (!in.Number(a)) {
        return parsed;
    }
    const bool spaced = in.SkipSpaces();
    if (in.AtEnd()) {
        if (relative) {
            return parsed;  // "@" needs a pair
        }
        parsed.count = 1;
        parsed.a = a;
        return parsed;
    }
    // A comma or at least one space separates the pair: "1.2.3" and "1-2" are not pairs.
    if (!in.Take(',') && !spaced) {
        return parsed;
    }
    in.SkipSpaces();
    double b = 0.0;
    if (!in.Number(b)) {
        return parsed;
    }
    in.SkipSpaces();
    if (!in.AtEnd()) {
        return parsed;
    }
    parsed.count = 2;
    parsed.relative = relative;
    parsed.a = a;
    parsed.b = b;
    return parsed;
}

}  // namespace

ValInputMgr* ValInputMgr::GetInstance() {
    static ValInputMgr instance;
    return &instance;
}

void ValInputMgr::AcceptInputChar(unsigned int ch) {
    if (IsInputEnd(ch) != 0 || IsInputCancel(ch) != 0) {
        m_text.clear();
    } else if (ch == KEY_BACKSPACE) {
        if (!m_text.empty()) {
            m_text.pop_back();
        }
    } else if (IsAcceptedChar(ch)) {
        m_text.push_back(static_cast<wchar_t>(ch));
    }
}

int ValInputMgr::GetInput(double& a, double& b) const {
    const ParsedInput parsed = Parse(m_text);
    if (parsed.count != 0) {
        a = parsed.a;
        b = parsed.b;
    }
    return parsed.count;
}

int ValInputMgr::IsRelativeInput() const {
    return Parse(m_text).relative ? 1 : 0;
}

int ValInputMgr::IsInputEnd(unsigned int ch) const {
    return (ch == KEY_ENTER || ch == KEY_LINEFEED) ? 1 : 0;
}

int ValInputMgr::IsInputCancel(unsigned int ch) const {
    return ch == KEY_ESCAPE ? 1 : 0;
}

int ValInputMgr::IsInputDel(unsigned int ch) const {
    return ch == KEY_DELETE ? 1 : 0;
}

int ValInputMgr::IsInputA(unsigned int ch) const {
    return (ch == 'a' || ch == 'A' || ch == KEY_CTRL_A) ? 1 : 0;
}

}  // namespace Norvane
