#pragma once
// The host stand-in under the application layer's tests: a project loaded
// from a JSON text, the host's service objects served by class id and
// adapted as inside the host, a plug-in-mode logger whose lines the host
// collects, and the host object maps emptied afterwards.

#include "access/HostObjectMaps.h"
#include "app/HostServiceAdapters.h"
#include "model/HostFormatting.h"
#include "model/HostLocalisation.h"
#include "common/Globals.h"
#include "common/HostLogger.h"
#include "platform/host/EtsHost.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace apptest {

using Json = nlohmann::json;

// The device the tests put into their projects.
constexpr LONG kDevice = 1000;

// A project (id 1) whose group tree holds, for every entry of `groups`, a
// main group / middle group / group address; the entries are
// {main id, main address, middle id, middle address, sub id, sub address}.
inline Json ProjectWithGroups(const std::vector<std::vector<LONG>>& groups)
{
    Json mainGroups = Json::array();
    auto findOrAdd = [](Json& list, LONG nId, LONG nAddress, const char* pszChildren) -> Json& {
        for (Json& item : list)
            if (item["id"] == nId)
                return item;
        list.push_back(Json {{"id", nId}, {"address", nAddress}, {"name", ""}, {pszChildren, Json::array()}});
        return list.back();
    };
    for (const std::vector<LONG>& g : groups) {
        Json& main = findOrAdd(mainGroups, g[0], g[1], "middleGroups");
        Json& middle = findOrAdd(main["middleGroups"], g[2], g[3], "groupAddresses");
        middle["groupAddresses"].push_back(Json {{"id", g[4]}, {"address", g[5]}, {"name", "GA " + std::to_string(g[4])}});
    }
    Json project = {{"id", 1}, {"name", "Projekt"}, {"mainGroups", mainGroups}, {"devices", Json::array()}};
    return Json {{"format", "chronosets2-host-project"}, {"version", 1}, {"projects", Json::array({project})}};
}

// A device (id `nId`) with objects 0..nObjects-1 (ids nId+1+n), all visible,
// and the given parameters {name, value}.
inline Json Device(LONG nId, int nObjects, const std::vector<std::pair<std::string, Json>>& parameters)
{
    Json objects = Json::array();
    for (int n = 0; n < nObjects; ++n)
        objects.push_back(Json {{"id", nId + 1 + n}, {"number", n}, {"name", "Objekt " + std::to_string(n)},
                                {"associations", Json::array()}});
    Json parameterList = Json::array();
    for (const auto& [strName, value] : parameters)
        parameterList.push_back(Json {{"name", strName}, {"value", value}});
    return Json {{"id", nId},
                 {"name", "Gerät"},
                 {"address", 5},
                 {"line", {{"address", 1}, {"area", 1}}},
                 {"applicationProgram",
                  {{"name", "Programm"},
                   {"version", 33},
                   {"deviceType", 0x2101},
                   {"manufacturer", {{"name", "Vek"}, {"code", 2}}}}},
                 {"parameters", parameterList},
                 {"commObjects", objects}};
}

class HostTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_bStandaloneBefore = g_bStandalone;
        g_bStandalone = false;
        m_host.RegisterServiceClasses();
        InstallHostServiceCreators();
        m_pLogger = new CHostLogger("Vek_ZR02");
        g_pHostLogger = m_pLogger;
    }

    void TearDown() override
    {
        ReleaseHostObjectMaps();
        if (g_pHostLogger == m_pLogger)
            g_pHostLogger = nullptr;
        delete m_pLogger;
        SetHostLoggerCreator({});
        SetHostLocalisationCreator({});
        SetHostFormattingCreator({});
        m_host.RevokeServiceClasses();
        g_bStandalone = m_bStandaloneBefore;
    }

    void Load(const Json& project)
    {
        std::string strError;
        ASSERT_TRUE(m_host.LoadText(project.dump(), &strError)) << strError;
    }

    template <class T>
    CComPtr<T> Find(LONG nId)
    {
        CComPtr<T> p;
        if (CComPtr<IUnknown> pObject = m_host.FindObject(nId))
            pObject->QueryInterface(&p.p);
        return p;
    }

    // Every group address, main and middle group and project into the maps,
    // as the scan at the start of an editing run does.
    void Scan(LONG nDeviceId) { ScanEtsProjects(m_host.FindDevice(nDeviceId)); }

    // Whether a line holding the part reached the host's logger.
    bool Logged(const std::string& strPart) const
    {
        for (const std::string& strLine : m_host.GetLoggerLines())
            if (strLine.find(strPart) != std::string::npos)
                return true;
        return false;
    }

    std::string LoggedLines() const
    {
        std::string strAll;
        for (const std::string& strLine : m_host.GetLoggerLines())
            strAll += strLine;
        return strAll;
    }

    platform::host::CEtsHost m_host;
    CHostLogger* m_pLogger = nullptr;
    bool m_bStandaloneBefore = false;
};

}  // namespace apptest
