// OptionScope: an int option or setting (a display option, an engine's component selector) kept
// for one scope and put back on every way out. The one-argument form only saves it, for a caller
// that changes it as it goes; the two-argument form also sets it.
//
//     OptionScope wire(opt.m_bWireFrame, 1);   // outlines while the diagrams are drawn
#pragma once

class OptionScope {
public:
    explicit OptionScope(int& option) : m_option(option), m_saved(option) {}
    OptionScope(int& option, int value) : m_option(option), m_saved(option) { option = value; }
    ~OptionScope() { m_option = m_saved; }
    OptionScope(const OptionScope&) = delete;
    OptionScope& operator=(const OptionScope&) = delete;
    // The value before the scope.
    int Saved() const { return m_saved; }

private:
    int& m_option;
    int m_saved;
};
