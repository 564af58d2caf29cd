#pragma once
// Timers by id, as windows set them: each window has its own ids; setting an
// id again restarts it with the new interval; each elapse calls the window's
// handler with the id. The timers live in a child object of the window, so
// they end with it. Tests fire a timer by hand instead of waiting.

#include "platform/base/WinTypes.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <map>

class CWndTimers : public QObject {
    Q_OBJECT

public:
    using TimerId = std::uintptr_t;
    using Handler = std::function<void(TimerId)>;

    // The timers of the owner; with bCreate made on first use, else null
    // when the owner has none.
    static CWndTimers* Of(QObject* pOwner, bool bCreate);

    // Starts (or restarts) timer nIDEvent with nElapse ms; returns the id.
    TimerId SetTimer(TimerId nIDEvent, UINT nElapse, Handler handler);
    // FALSE when the timer is not set.
    BOOL KillTimer(TimerId nIDEvent);
    bool IsTimerSet(TimerId nIDEvent) const;
    // The interval of a set timer, 0 when it is not set.
    UINT GetElapse(TimerId nIDEvent) const;

    // What an elapse does, now; false when the timer is not set.
    bool Fire(TimerId nIDEvent);

protected:
    void timerEvent(QTimerEvent* pEvent) override;

private:
    explicit CWndTimers(QObject* pOwner);

    struct Entry {
        int nQtTimer = 0;
        UINT nElapse = 0;
        Handler handler;
    };
    std::map<TimerId, Entry> m_mapTimers;
};
