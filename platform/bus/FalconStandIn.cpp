#include "platform/bus/FalconStandIn.h"

#include <array>
#include <mutex>

namespace {

// The transport layer's own connection timeout.
constexpr int kDefaultAnswerTimeout = 6000;

struct CStandInState
{
    std::mutex mutex;
    std::array<HRESULT, 4> arrCreateFailures{};
    std::array<HRESULT, 4> arrCallFailures{};
    EFalconReplyForm eReplyForm = EFalconReplyForm::ByteArray;
    std::size_t nReplyLimit = 0;
    int nAnswerTimeout = kDefaultAnswerTimeout;
    std::vector<CFalconCallRecord> arrCalls;
};

CStandInState& State()
{
    static CStandInState s_state;
    return s_state;
}

}  // namespace

void CFalconStandIn::SetCreateFailure(EFalconClass eClass, HRESULT hr)
{
    std::lock_guard lock(State().mutex);
    State().arrCreateFailures.at(static_cast<std::size_t>(eClass)) = hr;
}

HRESULT CFalconStandIn::GetCreateFailure(EFalconClass eClass)
{
    std::lock_guard lock(State().mutex);
    return State().arrCreateFailures.at(static_cast<std::size_t>(eClass));
}

void CFalconStandIn::SetCallFailure(EFalconCall eCall, HRESULT hr)
{
    std::lock_guard lock(State().mutex);
    State().arrCallFailures.at(static_cast<std::size_t>(eCall)) = hr;
}

HRESULT CFalconStandIn::GetCallFailure(EFalconCall eCall)
{
    std::lock_guard lock(State().mutex);
    return State().arrCallFailures.at(static_cast<std::size_t>(eCall));
}

void CFalconStandIn::SetReplyForm(EFalconReplyForm eForm)
{
    std::lock_guard lock(State().mutex);
    State().eReplyForm = eForm;
}

EFalconReplyForm CFalconStandIn::GetReplyForm()
{
    std::lock_guard lock(State().mutex);
    return State().eReplyForm;
}

void CFalconStandIn::SetReplyLimit(std::size_t nElements)
{
    std::lock_guard lock(State().mutex);
    State().nReplyLimit = nElements;
}

std::size_t CFalconStandIn::GetReplyLimit()
{
    std::lock_guard lock(State().mutex);
    return State().nReplyLimit;
}

void CFalconStandIn::SetAnswerTimeout(int nMilliseconds)
{
    std::lock_guard lock(State().mutex);
    State().nAnswerTimeout = nMilliseconds;
}

int CFalconStandIn::GetAnswerTimeout()
{
    std::lock_guard lock(State().mutex);
    return State().nAnswerTimeout;
}

void CFalconStandIn::Record(const char* pszCall, VARTYPE vtValue, HRESULT hr)
{
    std::lock_guard lock(State().mutex);
    State().arrCalls.push_back(CFalconCallRecord{pszCall, vtValue, hr});
}

std::vector<CFalconCallRecord> CFalconStandIn::GetCalls()
{
    std::lock_guard lock(State().mutex);
    return State().arrCalls;
}

void CFalconStandIn::ClearCalls()
{
    std::lock_guard lock(State().mutex);
    State().arrCalls.clear();
}

void CFalconStandIn::Reset()
{
    std::lock_guard lock(State().mutex);
    CStandInState& state = State();
    state.arrCreateFailures.fill(S_OK);
    state.arrCallFailures.fill(S_OK);
    state.eReplyForm = EFalconReplyForm::ByteArray;
    state.nReplyLimit = 0;
    state.nAnswerTimeout = kDefaultAnswerTimeout;
    state.arrCalls.clear();
}
