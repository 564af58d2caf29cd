#include "platform/ui/WndTimers.h"

#include <QTimerEvent>

#include <utility>

namespace {
constexpr char kTimersName[] = "chrono.timers";
}

CWndTimers::CWndTimers(QObject* pOwner) : QObject(pOwner) {
    setObjectName(QString::fromLatin1(kTimersName));
}

CWndTimers* CWndTimers::Of(QObject* pOwner, bool bCreate) {
    if (pOwner == nullptr) {
        return nullptr;
    }
    auto* pTimers = pOwner->findChild<CWndTimers*>(QString::fromLatin1(kTimersName), Qt::FindDirectChildrenOnly);
    if (pTimers == nullptr && bCreate) {
        pTimers = new CWndTimers(pOwner);
    }
    return pTimers;
}

CWndTimers::TimerId CWndTimers::SetTimer(TimerId nIDEvent, UINT nElapse, Handler handler) {
    auto it = m_mapTimers.find(nIDEvent);
    if (it != m_mapTimers.end() && it->second.nQtTimer != 0) {
        killTimer(it->second.nQtTimer);
    }
    Entry entry;
    entry.nElapse = nElapse;
    entry.handler = std::move(handler);
    entry.nQtTimer = startTimer(static_cast<int>(nElapse));
    m_mapTimers[nIDEvent] = std::move(entry);
    return nIDEvent;
}

BOOL CWndTimers::KillTimer(TimerId nIDEvent) {
    const auto it = m_mapTimers.find(nIDEvent);
    if (it == m_mapTimers.end()) {
        return FALSE;
    }
    if (it->second.nQtTimer != 0) {
        killTimer(it->second.nQtTimer);
    }
    m_mapTimers.erase(it);
    return TRUE;
}

bool CWndTimers::IsTimerSet(TimerId nIDEvent) const {
    return m_mapTimers.count(nIDEvent) != 0;
}

UINT CWndTimers::GetElapse(TimerId nIDEvent) const {
    const auto it = m_mapTimers.find(nIDEvent);
    return it != m_mapTimers.end() ? it->second.nElapse : 0;
}

bool CWndTimers::Fire(TimerId nIDEvent) {
    const auto it = m_mapTimers.find(nIDEvent);
    if (it == m_mapTimers.end()) {
        return false;
    }
    // The handler may kill or reset its own timer.
    const Handler handler = it->second.handler;
    if (handler) {
        handler(nIDEvent);
    }
    return true;
}

void CWndTimers::timerEvent(QTimerEvent* pEvent) {
    for (const auto& [nId, entry] : m_mapTimers) {
        if (entry.nQtTimer == pEvent->timerId()) {
            Fire(nId);
            return;
        }
    }
    QObject::timerEvent(pEvent);
}
