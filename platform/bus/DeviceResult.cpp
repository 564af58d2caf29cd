#include "platform/bus/DeviceResult.h"

const char* DeviceResultName(EDeviceResult eResult)
{
    switch (eResult) {
    case EDeviceResult::Ok: return "Ok";
    case EDeviceResult::NotConnected: return "NotConnected";
    case EDeviceResult::AlreadyConnected: return "AlreadyConnected";
    case EDeviceResult::ConnectionRefused: return "ConnectionRefused";
    case EDeviceResult::DeviceOpenError: return "DeviceOpenError";
    case EDeviceResult::NoDevice: return "NoDevice";
    case EDeviceResult::FrameTooLong: return "FrameTooLong";
    case EDeviceResult::Unmapped: return "Unmapped";
    case EDeviceResult::ReadOnly: return "ReadOnly";
    case EDeviceResult::NotLoading: return "NotLoading";
    case EDeviceResult::NoSuchProperty: return "NoSuchProperty";
    case EDeviceResult::BadData: return "BadData";
    case EDeviceResult::InjectedFailure: return "InjectedFailure";
    case EDeviceResult::StateFileError: return "StateFileError";
    case EDeviceResult::NoAnswer: return "NoAnswer";
    case EDeviceResult::Refused: return "Refused";
    }
    return "?";
}
