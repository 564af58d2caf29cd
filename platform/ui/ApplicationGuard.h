#pragma once
// The Qt application object around an editing run. The guard creates a
// QApplication when the process has none and destroys it again when it made
// it; a host that owns one keeps it. Sessions nest: only the outermost End
// destroys what the first Begin made.

class QApplication;

class CApplicationGuard {
public:
    CApplicationGuard() = default;
    ~CApplicationGuard();

    CApplicationGuard(const CApplicationGuard&) = delete;
    CApplicationGuard& operator=(const CApplicationGuard&) = delete;

    // False when no window can be shown: there is no display to open, or the
    // process already has a Qt application object that cannot show widgets.
    bool Begin();
    // Ends one Begin that succeeded.
    void End();

    bool IsActive() const { return m_nDepth > 0; }
    // The next End ends the outermost session.
    bool IsOutermost() const { return m_nDepth == 1; }
    // The guard made the application object it uses.
    bool OwnsApplication() const { return m_pOwnApp != nullptr; }

    // A display to open: QT_QPA_PLATFORM names a platform, or DISPLAY or
    // WAYLAND_DISPLAY is set.
    static bool HasDisplay();

private:
    int m_nDepth = 0;
    QApplication* m_pOwnApp = nullptr;
};
