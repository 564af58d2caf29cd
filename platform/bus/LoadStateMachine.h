#pragma once
// One load-state machine of the device (1 address table, 2 association
// table, 3 application program). A load event moves it:
//
//   event               Unloaded   Loaded    Loading   Error
//   0 no operation      Unloaded   Loaded    Loading   Error
//   1 start loading     Loading    Loading   Loading   Loading
//   2 load completed    Error      Loaded    Loaded    Error
//   3 additional ctrl   Error      Error     Loading   Error
//   4 unload            Unloaded   Unloaded  Unloaded  Unloaded
//   any other           Error      Error     Error     Error
//
// Start loading is accepted from any state, so a download that broke off
// can always begin again; completing a load that never started is an error.

#include "platform/base/WinTypes.h"

class CLoadStateMachine
{
public:
    enum EState : BYTE { Unloaded = 0, Loaded = 1, Loading = 2, Error = 3 };
    enum EEvent : BYTE { NoOperation = 0, StartLoading = 1, LoadCompleted = 2, AdditionalLoadControls = 3, Unload = 4 };

    CLoadStateMachine() = default;
    explicit CLoadStateMachine(BYTE nState) : m_nState(nState) {}

    BYTE GetState() const { return m_nState; }
    void SetState(BYTE nState) { m_nState = nState; }

    // The state that the event leads to from the current one.
    BYTE NextState(BYTE nEvent) const;
    // Moves by the event and gives the new state.
    BYTE ApplyEvent(BYTE nEvent);

    static bool IsValidState(BYTE nState) { return nState <= Error; }

private:
    BYTE m_nState = Unloaded;
};
