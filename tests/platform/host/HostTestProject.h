#pragma once
// Small project files for the host stand-in's tests, and the objects of a
// loaded one by id.

#include "platform/com/ComPtr.h"
#include "platform/host/EtsHost.h"

#include <nlohmann/json.hpp>

#include <string>

namespace hosttest {

using Json = nlohmann::json;

// One project (id 1) with main group 1 (id 10) / middle group 2 (id 11) /
// group addresses 3 (id 12) and 4 (id 13), and a device (id 100) with the
// parameters "ObjectType-0" (id 101, 1) and "Name" (id 102, "x") and two
// objects: 0 (id 110, typed by "ObjectType-0", associated with 12 as id 120)
// and 1 (id 111, visible, no associations).
inline Json SmallProject()
{
    Json groupAddresses = Json::array({
        {{"id", 12}, {"address", 3}, {"name", "Licht"}},
        {{"id", 13}, {"address", 4}, {"name", "Jalousie"}, {"central", true}},
    });
    Json project = {
        {"id", 1},
        {"name", "Test"},
        {"mainGroups",
         Json::array({{{"id", 10},
                       {"address", 1},
                       {"name", "Haupt"},
                       {"middleGroups",
                        Json::array({{{"id", 11}, {"address", 2}, {"name", "Mitte"}, {"groupAddresses", groupAddresses}}})}}})},
        {"devices",
         Json::array({{{"id", 100},
                       {"name", "Uhr"},
                       {"productText", "ORV/X2.1"},
                       {"address", 5},
                       {"line", {{"address", 1}, {"area", 2}}},
                       {"applicationProgram",
                        {{"name", "Programm"},
                         {"version", 33},
                         {"deviceType", 8449},
                         {"manufacturer", {{"name", "Vek"}, {"code", 2}}},
                         {"typeLengths", {{"1", 0}, {"9", 8}}}}},
                       {"parameters",
                        Json::array({{{"id", 101}, {"name", "ObjectType-0"}, {"value", 1}},
                                     {{"id", 102}, {"name", "Name"}, {"value", "x"}}})},
                       {"commObjects",
                        Json::array({{{"id", 110},
                                      {"number", 0},
                                      {"name", "Objekt 0"},
                                      {"length", 7},
                                      {"typeParameter", "ObjectType-0"},
                                      {"associations", Json::array({{{"id", 120}, {"groupAddress", 12}, {"send", true}}})}},
                                     {{"id", 111}, {"number", 1}, {"name", "Objekt 1"}, {"visible", true}}})}}})},
    };
    return Json {{"format", "chronosets2-host-project"}, {"version", 1}, {"projects", Json::array({project})}};
}

inline std::string Text(const Json& json)
{
    return json.dump();
}

// The loaded object with id nId through interface T; null when there is none
// or it has no such interface.
template <class T>
CComPtr<T> Find(platform::host::CEtsHost& host, LONG nId)
{
    CComPtr<T> p;
    if (CComPtr<IUnknown> pObject = host.FindObject(nId))
        pObject->QueryInterface(&p.p);
    return p;
}

}  // namespace hosttest
