#pragma once

#include <string>

namespace Norvane {

// The typed-value buffer of the editor (one per process): while an action runs, the user may type a point or
// a value instead of clicking, and end it with the Enter key.
//
// Accepted text: digits, '.', '+', '-', ',', ' ' and '@'. Backspace removes the last character; the end key
// and the cancel key empty the buffer (the action has read the value before it passes the end key on, see
// the tools' key handling). Any other key leaves the buffer alone, so shortcuts such as Ctrl+A or Delete
// never end up in it.
//
// What the buffer can hold (spaces around the numbers are free):
//   "x,y" or "x y"      a point
//   "@dx,dy"            a point relative to the last entered point
//   "v"                 a single value: a distance or an angle, as the action asks
// Numbers are written with an optional sign, digits and an optional decimal point ("-2", "+.5", "10.").
//
// The Ctrl key is state of the keyboard, not of a key event: the host reports it (SetCtrlDown) as it
// changes, and actions ask IsInputCtrl, also during mouse events. Used on the user-interface thread only.
class ValInputMgr {
public:
    static ValInputMgr* GetInstance();

    void AcceptInputChar(unsigned int ch);
    // The buffer as typed, for the host's status bar.
    const std::wstring& GetInputText() const { return m_text; }
    void Clear() { m_text.clear(); }

    // Reads the buffer: 2 for a point (a = x, b = y), 1 for a single value (a = the value, b = 0), 0 when the
    // buffer holds nothing usable (a and b are then left alone).
    int GetInput(double& a, double& b) const;
    // 1 when the buffer holds a relative point ("@dx,dy").
    int IsRelativeInput() const;

    // Key classes: Enter ends a typed value, Escape cancels, Delete deletes (the selection), A with Ctrl
    // selects all.
    int IsInputEnd(unsigned int ch) const;
    int IsInputCancel(unsigned int ch) const;
    int IsInputDel(unsigned int ch) const;
    int IsInputA(unsigned int ch) const;
    int IsInputCtrl() const { return m_ctrlDown; }
    void SetCtrlDown(int down) { m_ctrlDown = down != 0 ? 1 : 0; }

private:
    ValInputMgr() = default;

    std::wstring m_text;
    int m_ctrlDown = 0;
};

}  // namespace Norvane
