#include "platform/bus/LoadStateMachine.h"

BYTE CLoadStateMachine::NextState(BYTE nEvent) const
{
    switch (nEvent) {
    case NoOperation:
        return m_nState;
    case StartLoading:
        return Loading;
    case LoadCompleted:
        return (m_nState == Loading || m_nState == Loaded) ? Loaded : Error;
    case AdditionalLoadControls:
        return m_nState == Loading ? Loading : Error;
    case Unload:
        return Unloaded;
    default:
        return Error;
    }
}

BYTE CLoadStateMachine::ApplyEvent(BYTE nEvent)
{
    m_nState = NextState(nEvent);
    return m_nState;
}
