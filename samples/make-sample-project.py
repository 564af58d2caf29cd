#!/usr/bin/env python3
"""Writes sample-project.json: one project with a group tree, one time-program
device of the type the editor serves (manufacturer 2, device type 0x2101,
version 0x21, the application the simulated device runs) with two day
routines triggered over objects 0 and 1, and a switch actuator that shares a
group address with it. Run it again after changing it; the ids stay fixed."""

import json
import pathlib

ids = iter(range(1001, 5000))


def next_id():
    return next(ids)


def group(id_, address, name, children_key=None, children=None, **extra):
    g = {"id": id_, "address": address, "name": name, "description": "", "uniqueName": "", "passThrough": False}
    g.update(extra)
    if children_key:
        g[children_key] = children or []
    return g


def sub(id_, address, name):
    return group(id_, address, name, central=False)


main_groups = [
    group(10, 1, "Zeitsteuerung", "middleGroups", [
        group(11, 0, "Tagesabläufe", "groupAddresses", [
            sub(13, 1, "Tagesablauf Arbeitstag"),
            sub(14, 2, "Tagesablauf Wochenende"),
            sub(15, 3, "Heizung Nachtabsenkung"),
        ]),
        group(12, 1, "Uhr", "groupAddresses", [
            sub(16, 1, "Uhrzeit"),
            sub(17, 2, "Datum"),
            sub(18, 3, "Uhrzeit anfordern"),
            sub(19, 4, "Zeitprogramm sperren"),
        ]),
    ]),
    group(20, 2, "Beleuchtung", "middleGroups", [
        group(21, 0, "Erdgeschoss", "groupAddresses", [
            sub(23, 1, "Flur Licht"),
            sub(24, 2, "Küche Licht"),
        ]),
        group(22, 1, "Obergeschoss", "groupAddresses", [
            sub(25, 1, "Bad Licht"),
        ]),
    ]),
    group(30, 3, "Heizung", "middleGroups", [
        group(31, 0, "Sollwerte", "groupAddresses", [
            sub(33, 1, "Wohnzimmer Sollwert"),
            sub(34, 2, "Bad Sollwert"),
        ]),
    ]),
]


def hex_reference(reference):
    return "%04x%04x" % (reference & 0xFFFF, (reference >> 16) & 0xFFFF)


def group_record(reference, object_type, sub_type, name):
    return hex_reference(reference) + "%04x%04x%02x" % (object_type, sub_type, len(name)) + name


# The two routines and their trigger group addresses (1/0/1, 1/0/2).
day_routines = "".join(["01" + hex_reference(13) + "00", "01" + hex_reference(14) + "00"] + ["00FFFFFFFF00"] * 13)

parameters = []


def parameter(name, value):
    parameters.append({"id": next_id(), "name": name, "value": value, "uniqueNumber": len(parameters) + 1})


parameter("ParameterVersion", 0x20000)
parameter("PrintLabel", "")
parameter("SendDelay", 0)
parameter("InternalClock", "")
parameter("Summertimes", "")
parameter("DayRoutines", day_routines)
for i in range(15):
    parameter("DayRoutineDisplayName-%d" % i, {0: "Arbeitstag", 1: "Wochenende"}.get(i, ""))
parameter("Weekroutine", "")
for i in range(10):
    parameter("SpecialDay-%d" % i, "")
for i in range(80):
    parameter("SwitchTime-%d" % i, "")
for i in range(6):
    parameter("Quantity-%d" % i, "")
for i in range(30):
    parameter("QuantityDisplayName-%d" % i, "")
for i in range(25):
    parameter("QuantityLinks-%d" % i, "")
for i in range(25):
    parameter("QuantityMember-%d" % i, "")
for i in range(125):
    text = group_record(13, 1, 1, "Arbeitstag") + group_record(14, 1, 1, "Wochenende") if i == 0 else ""
    parameter("GroupAddress-%d" % i, text)
for i in range(125):
    parameter("InvalidAssocGroupAddress-%d" % i, "")
for i in range(250):
    parameter("ObjectType-%d" % i, 1 if i < 2 else 0)
parameter("RequestObjectVisibility", 0)
parameter("DateObjectVisibility", 0)
parameter("TimeObjectVisibility", 0)
parameter("LockTimeProgramVisibility", 0)
parameter("CacheData", 0)
parameter("TimeGroupAddressDisplayName", "")
parameter("DateGroupAddressDisplayName", "")
parameter("RequestGroupAdressDisplayName", "")
parameter("LockTimeProgramDisplayName", "")


def comm_object(number, name, function, length, **extra):
    o = {"id": next_id(), "number": number, "name": name, "function": function, "length": length,
         "priority": 3, "communication": True, "read": False, "write": True, "transmit": True,
         "update": False, "visible": True}
    o.update(extra)
    o.setdefault("associations", [])
    return o


def association(group_address):
    return {"id": next_id(), "groupAddress": group_address, "send": True, "acknowledge": False}


objects = []
for n in range(250):
    links = {0: [association(13)], 1: [association(14)]}.get(n, [])
    objects.append(comm_object(n, "Objekt %d" % n, "Zeitprogramm", 0, visible=False,
                               typeParameter="ObjectType-%d" % n, associations=links))
objects.append(comm_object(250, "Uhrzeit anfordern", "Interne Uhr", 0, visible=False,
                           visibilityParameter="RequestObjectVisibility"))
objects.append(comm_object(251, "Datum", "Interne Uhr", 9, visible=False, visibilityParameter="DateObjectVisibility"))
objects.append(comm_object(252, "Uhrzeit", "Interne Uhr", 9, visible=False, visibilityParameter="TimeObjectVisibility"))
objects.append(comm_object(253, "Zeitprogramm sperren", "Interne Uhr", 0))

timer = {
    "id": 1000,
    "name": "Zeitschaltuhr Technikraum",
    "description": "Jahresschaltuhr mit Mengen",
    "productText": "ORV/X2.1",
    "address": 5,
    "line": {"address": 1, "area": 1},
    "applicationProgram": {
        "name": "ORV/X2.1 Zeitprogramme",
        "version": 0x21,
        "deviceType": 0x2101,
        "manufacturer": {"name": "Vek", "code": 2},
        # Object type (the value of an "ObjectType" parameter) -> the
        # object's value-type code.
        "typeLengths": {"1": 0, "2": 1, "5": 7, "6": 7, "7": 8, "8": 8, "9": 8, "10": 9, "11": 9},
    },
    "parameters": parameters,
    "commObjects": objects,
}

ids = iter(range(5001, 6000))
actuator = {
    "id": 5000,
    "name": "Schaltaktor 4fach",
    "description": "",
    "productText": "Schaltaktor 4fach REG",
    "address": 10,
    "line": {"address": 1, "area": 1},
    "applicationProgram": {"name": "Schalten 4fach", "version": 0x10, "deviceType": 0x1004,
                           "manufacturer": {"name": "Vek", "code": 2}, "typeLengths": {}},
    "parameters": [],
    "commObjects": [
        comm_object(0, "Kanal A", "Schalten", 0, associations=[association(23)]),
        comm_object(1, "Kanal B", "Schalten", 0, associations=[association(24)]),
        comm_object(2, "Kanal C", "Schalten", 0, associations=[association(25)]),
        comm_object(3, "Kanal D", "Schalten", 0, associations=[association(13)]),
    ],
}

project = {
    "format": "chronosets2-host-project",
    "version": 1,
    "nextId": 10000,
    "groupAddressLevels": 3,
    "projects": [{"id": 1, "name": "Beispielprojekt", "mainGroups": main_groups, "devices": [timer, actuator]}],
}

out = pathlib.Path(__file__).with_name("sample-project.json")
out.write_text(json.dumps(project, indent=2, ensure_ascii=False) + "\n", encoding="utf-8")
