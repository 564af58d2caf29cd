#pragma once
// The host program's save of its project after an editing run. When the
// project file cannot be written (a full disk, a folder that may not be
// written), the reason goes to standard error; where a user can answer, the
// reason is also shown and the user picks another file, as often as the
// chosen ones fail too, until one takes the project or the user says the
// changes may go.

#include <string>

namespace platform::host {
class CEtsHost;
}

class CHostProjectSaver {
public:
    explicit CHostProjectSaver(platform::host::CEtsHost& host) : m_host(host) {}

    // Writes the project into the file; false, with the reason on standard
    // error, when it cannot.
    bool Write(const std::string& strPath);

    // After Write failed on strPath: shows why and asks for another file
    // through the message-box sink and the file-dialog service. True once the
    // project is in a file; false when the user let the changes go, or at
    // once when no sink or no service is there to ask.
    bool SaveElsewhere(const std::string& strPath);

private:
    platform::host::CEtsHost& m_host;
    std::string m_strError;
};
