// English string table of the satellite library, under the ids of the German
// one: every German id has its English text here, so that the English editor
// never shows a German default.

#include "resources/en/Tables.h"

#include <iterator>

namespace resources::en {

namespace {

const platform::ResString g_aStrings[] = {
    // Internal clock labels and lock polarity
    {11, "Time Program:"},
    {12, "Time program type:"},
    {13, "lock with 1"},
    {14, "unlock with 1"},

    // Device frame, file filters, progress texts
    {101, "General"},
    {102, "Manufacturer:"},
    {103, "Tavik (*.tv2)|*.tv2|CSV Format (*.csv)|*.csv|All Files (*.*)|*.*||"},
    {104, "Tavik (*.tv2)|*.tv2|Tavik (*.tv1)|*.tv1|All Files (*.*)|*.*||"},
    {105, "Only one association is allowed for object %d."},
    {106, "Linking communication objects"},
    {107, "*empty*"},
    {108, "Day routines"},
    {111, "Size"},
    {113, "Load parameter data"},
    {114, "Initialising download process..."},
    {115, "Reading device data..."},
    {116, "Reading parameters..."},
    {118, "Initialising data..."},
    {119, "Group links"},
    {120, "Internal clock"},
    {121, "Error connecting to device %u.%u.%u."},
    {122, "External physical interface could not be installed."},
    {123, "Error reading the date/time information."},
    {124, "Error writing the date/time information."},
    {125, "Physical address:"},
    {127, "Application:"},
    {128, "Download parameter data"},
    {130, "Loading device"},
    {131, "Save parameter data"},
    {132, "Initialising save process..."},
    {133, "Deleting existing object associations..."},
    {134, "Writing parameters..."},
    {135, "Send delay"},
    {136, "Display names of day routines"},
    {137, "Display names of groups"},
    {138, "Application information"},
    {140, "Reading device"},
    {141, "Establishing connection"},
    {142, "Date/time information"},
    {143, "The association could not be made because the maximum number of associations has been reached."},
    {144, "Error determining the association data."},
    {145, "CSV Format (*.csv)|*.csv|All Files (*.*)|*.*||"},
    {146, "Cancel"},
    {147, "Tavik (*.tv2)|*.tv2|Tavik (*.tv1)|*.tv1|All Files (*.*)|*.*||"},
    {148, "Chronoset (*.tv2)|*.tv2|All Files (*.*)|*.*||"},

    // Clock modes
    {151, "internal"},
    {152, "Slave (always receive)"},
    {153, "Slave, OFF period (receive 00:05...23:55)"},
    {154, "Master (send every minute)"},
    {155, "Master (send hourly)"},
    {156, "Master (send daily)"},
    {160, "Group address for request:"},

    // Group-address check, download steps, usage texts
    {161, "Some of the group addresses used in the ORV/X parameterisation no longer exist in the ETS database or "
          "are linked to an object of unknown type. The addresses and their associations have been removed."},
    {162, "Checking group addresses"},
    {163, "Communication object table"},
    {164, "Address table"},
    {165, "Association table"},
    {166, "Communication object: %u"},
    {167, "for object %u"},
    {168, "Group"},
    {170, "Checking GA consistency..."},
    {171, "Objects: GT"},
    {172, "Objects: ST, GM, DR"},
    {173, "Date, time and request"},
    {174, "Updating links"},
    {175, "Deleting temporary data"},
    {176, "Updating request for group triggers"},
    {177, "Creating object association list"},
    {180, "&Insert"},

    // Print preview bar
    {181, "&Print..."},
    {182, "&Close"},
    {183, "&Next page"},
    {184, "&Prev. page"},
    {185, "&One page"},
    {186, "&Two pages"},
    {187, "Scale &up"},
    {188, "Scale &down"},
    {189, "Delete"},
    {193, "Associations exhausted"},
    {194, "The maximum number of associations has been reached.\r\nThe choice of group addresses is restricted for "
          "quantity members and switching times and no longer possible for quantity triggers and day routines."},

    // Quantities
    {202, "Range A"},
    {203, "Range B"},
    {204, "Trigger"},
    {210, "undefined"},
    {211, "Warm start"},
    {212, "Cold start"},
    {213, "Init value"},
    {214, "up to"},
    {215, "from"},
    {216, "Triggers of group"},
    {217, "Request"},
    {218, "Members of group"},
    {219, "Compare of device type failed! Application not compatible."},
    {220, "\"none\""},
    {221, "free out of a total of"},
    {222, "as trigger/display for:"},
    {223, "as member of:"},
    {228, "as trigger for"},
    {229, "as member of"},
    {230, "as switching time in"},
    {240, "Valid entries are from %s to %s."},
    {241, "Invalid date entry!"},

    // Object types
    {250, "1 bit"},
    {251, "2 bit priority"},
    {252, "1 byte unsigned"},
    {253, "1 byte signed"},
    {254, "2 byte unsigned"},
    {255, "2 byte signed"},
    {256, "2 byte floating point"},
    {257, "3 byte time"},
    {258, "3 byte date"},
    {259, "invalid"},

    // Quantity codes, short and long forms
    {260, "A, B"},
    {261, ">A, >B"},
    {262, "A< >B"},
    {263, "Bus"},
    {264, "RAM"},
    {265, "none"},
    {266, "Bus"},
    {267, "Init"},
    {268, "none"},

    // Send delays
    {269, "none"},
    {270, "0.1 s"},
    {271, "0.2 s"},
    {272, "0.3 s"},
    {273, "0.4 s"},
    {274, "0.5 s"},
    {275, "normal"},

    {280, "A, B (always)"},
    {281, ">A, >B (new entry)"},
    {282, "A< >B (hysteresis)"},
    {283, "Bus (read value)"},
    {284, "RAM (old value)"},
    {285, "none (no reaction)"},
    {286, "Bus (read value)"},
    {287, "Init (use init value)"},
    {288, "none (no reaction)"},

    // Object sizes
    {290, "1 bit"},
    {291, "2 bit"},
    {292, "1 byte"},
    {293, "2 byte"},
    {294, "3 byte"},
    {295, "invalid"},
    {296, "No print data selection"},

    {300, "Range"},
    {301, "A"},
    {302, "B"},
    {304, "new group address"},
    {305, "Page %u"},
    {306, "Connect to EIB"},
    {307, "Trying to connect to EIB..."},

    // Usage columns
    {310, "DR"},
    {311, "ST"},
    {312, "GT"},
    {313, "GM"},

    // Priorities
    {314, "System"},
    {315, "Alarm"},
    {316, "High"},
    {317, "Low"},

    // 2-bit values
    {340, "Free"},
    {341, "Forced ON"},
    {342, "Forced OFF"},

    // Tree nodes
    {350, "Time switch program"},
    {351, "Groups"},
    {352, "Group addresses"},
    {353, "Utilisation"},
    {354, "Invalid date format"},

    // Main, middle and sub groups
    {380, "New subgroup"},
    {381, "New middle group"},
    {382, "New main group"},
    {384, "Edit middle group"},
    {385, "Edit main group"},
    {390, "in %"},
    {391, "Standard"},
    {400, "Main group"},
    {401, "Middle group"},
    {402, "Subgroup"},
    {403, "Address"},
    {404, "Description"},
    {405, "P"},
    {406, "CF"},
    {410, "Associations"},
    {411, "CO"},
    {412, "none"},
    {420, "Note"},
    {421, "No more main group address available"},
    {422, "Main group address is already assigned"},
    {423, "No more middle group address available"},
    {424, "Middle group address is already assigned"},
    {425, "No more subgroup address available"},
    {426, "Subgroup address is already used"},
    {427, "The special day lies completely over existing special days and is therefore not inserted."},
    {428, "Special day trimmed"},
    {430, "The maximum number of group addresses has been reached. You can add new group addresses to the "
          "parameterisation only after deleting group addresses from the parameterisation."},
    {431, "Group addresses used to capacity"},

    // Input checks
    {450, "The specified designation is too long with %d characters and will therefore be shortened. Designations "
          "may be at most %d characters long."},
    {451, "Designation too long"},
    {452, "The selected period is negative or zero. Please update the start or end time accordingly."},
    {453, "Invalid period"},
    {454, "The number of switching times in the selected period exceeds the maximum number of entries in the "
          "table."},
    {455, "Too many switching times"},
    {458, "The selected period is too long. Please update the start or end time accordingly."},

    // Device object table
    {470, "PA"},
    {471, "Function"},
    {472, "Object name"},
    {473, "Priority"},
    {474, "C"},
    {475, "R"},
    {476, "W"},
    {477, "T"},
    {478, "U"},
    {479, "Ack"},

    {501, "Error while writing."},
    {502, "Application program status"},
    {504, "ms"},
    {505, "Save changes"},
    {506, "Do you wish to save the modified data?"},

    // Limits and insertion
    {600, "In use"},
    {601, "The selected group address ('%s': '%s') is already included in the list of used group addresses."},
    {602, "Group addresses used to capacity"},
    {603, "The maximum number of group addresses has been reached. You can add new group addresses after deleting "
          "group address entries in the overview."},
    {604, "Special days used to capacity"},
    {605, "The maximum number of special days has been reached. To create further special days you first have to "
          "delete special days that are no longer required."},
    {606, "Daylight saving times used to capacity"},
    {607, "The maximum number of daylight saving times has been reached."},
    {608, "Groups used to capacity"},
    {609, "The maximum number of groups has been reached."},
    {611, "The selected trigger group addresses will be deleted."},
    {614, "Switching times used to capacity"},
    {615, "The maximum number of switching times has been reached."},
    {616, "Group members used to capacity"},
    {617, "The maximum number of group members has been reached."},
    {618, "Insert"},
    {619, "%d of the %d elements could not be inserted"},
    {620, "Day routines used to capacity"},
    {621, "The maximum number of day routines has been reached."},
    {622, "The selected group address ('%s': '%s') is already linked to an object of unsupported type."},
    {623, "Unknown object type"},
    {624, "The type of the selected group address ('%s': '%s') can not be used."},
    {625, "Invalid object type"},
    {626, "Min. telegram interval:"},

    // About box
    {650, "About parameterisation software Tavik 2.1"},
    {651, "Parameterisation software Tavik 2.1 for ORV/X2.1"},
    {652, "About parameterisation of Tavik/2"},
    {653, "Parameterisation of Tavik/2"},

    // Duplicates and questions
    {700, "An entry with the same switching time and group address already exists."},
    {701, "Duplicate switching time"},
    {704, "No day routine defined"},
    {705, "No day routine has been defined yet. Every special day, however, needs an assigned day routine. "
          "Therefore please define a day routine in the section \"Day routines\" first."},
    {706, "A daylight saving time has already been defined for the year %d. Do you wish to overwrite the data of "
          "the existing daylight saving time?"},
    {707, "Duplicate daylight saving time"},
    {710, "The maximum number of triggers for this group has been reached."},
    {711, "No triggers"},
    {714, "An entry with the same range and group address already exists."},
    {715, "Duplicate group member"},
    {720, "Do you wish to delete the %d selected switching times?"},
    {722, "Do you wish to delete the %d selected day routines? %d switching times, %d special days and %d weekday "
          "assignments will thereby also be deleted."},
    {724, "Do you wish to delete the %d selected daylight saving times?"},
    {726, "Do you wish to delete the %d selected special days?"},
    {729, "Do you wish to delete the %d selected group members?"},
    {731, "Do you wish to delete the %d selected groups? %d group members will thereby also be deleted."},
    {735, "Do you wish to delete the %d selected group triggers?"},
    {736, "The specified time is invalid. It will therefore be replaced by the last valid value."},
    {737, "Invalid time"},
    {738, "Do you wish to delete the %d selected (unused) group addresses?"},
    {750, "There already is an entry for the group address '%s' (address %s) with the switching time %s:%s. Please "
          "choose a new switching time."},
    {751, "There is no switching time for the group address '%s' (address %s) yet. Please choose a switching time."},

    // New-entry rows
    {752, "*** new day routine ***"},
    {753, "*** new switching time ***"},
    {754, "*** new special day ***"},
    {755, "*** new daylight saving time ***"},
    {756, "*** new group member ***"},
    {757, "*** new group trigger ***"},
    {758, "*** new group ***"},
    {759, "*** new group address ***"},

    // Device status and clock
    {801, "No day routine"},
    {802, "Special day"},
    {803, "activated via object"},
    {804, "undefined"},
    {805, "Daylight saving time"},
    {806, "Normal time"},
    {807, "No"},
    {808, "Yes"},
    {809, "Read device status"},
    {810, "Error reading the time stamp of the application information."},
    {811, "Download has not been carried out"},
    {812, "Export"},
    {813, "Error saving parameter data!"},
    {814, "Error loading parameter data!"},
    {817, "o'clock"},
    {818, "Members"},
    {820, "Unloaded"},
    {821, "Loaded"},
    {822, "Loading"},
    {823, "Error"},
    {830, "from"},
    {831, "by day routine"},

    // The New command by table type
    {850, "&New switching time"},
    {851, "&New day routine"},
    {852, "&New daylight saving time"},
    {853, "&New special day"},
    {854, "&New group"},
    {855, "&New group member"},
    {856, "&New group address"},
    {857, "&New"},
    {858, "&New group trigger"},

    // Help titles by table type
    {920, "Help on the internal clock"},
    {921, "Help on times"},
    {922, "Help on the day routine table"},
    {923, "Help on the switching time table"},
    {924, "Help on the week routine table"},
    {925, "Help on the daylight saving time table"},
    {926, "Help on the special day table"},
    {927, "Help on the overview table"},
    {929, "Help on the group table"},
    {930, "Help on the single group view"},
    {931, "Help on the group trigger table"},
    {932, "Help on the group member table"},
    {933, "Help on the group address table"},
    {934, "Help on the utilisation table"},

    // Switching-time overview
    {1000, "Overview of switching times"},
    {1001, "Searching for switching times in the selected period."},
    {1002, "Date: %s"},

    // Main window title
    {1100, "Vek"},
    {1101, "Tavik/2"},
    {1102, "ORV/X2.1 Application unit"},
    {1103, "Parameterisation software Tavik 2.1"},
    {1104, "Tavik 2.1"},
    {1105, "Application Unit"},

    // Month names
    {1200, "January"},
    {1201, "February"},
    {1202, "March"},
    {1203, "April"},
    {1204, "May"},
    {1205, "June"},
    {1206, "July"},
    {1207, "August"},
    {1208, "September"},
    {1209, "October"},
    {1210, "November"},
    {1211, "December"},

    // Table columns
    {2000, "DR No."},
    {2001, "DR Name"},
    {2002, "GA No."},
    {2003, "GA Name"},
    {2004, "QU No."},
    {2005, "QU Name"},
    {2006, "sending"},
    {2104, "Modifications will get lost."},
    {2106, "Would you like to import anyway?"},
    {2107, "Inactive Time (mm:ss):"},

    // Toolbar button texts: short and long part
    {40006, "Save|Save"},
    {40007, "Print|Print"},
    {40009, "Ins.|Insert"},
    {40019, "Help|Help"},
    {40020, "Copy|Copy"},
    {40022, "End|End"},

    // Sections, headings and columns
    {40010, "Week routine"},
    {40011, "Daylight saving times"},
    {40012, "Special days"},
    {40013, "Overview"},
    {40021, "Field name"},
    {40023, "used"},
    {40024, "(%)"},
    {40025, "free"},
    {40026, "Addresses and objects"},
    {40027, "Group addresses"},
    {40028, "Objects"},
    {40032, "Time switch program"},
    {40033, "Switching times"},
    {40100, "Groups"},
    {40101, "Group members"},
    {40102, "Name"},
    {40103, "No"},
    {40104, "Trigger"},
    {40105, "Time"},
    {40106, "Group address"},
    {40107, "Type"},
    {40108, "Value"},
    {40109, "SoC"},
    {40110, "Weekday"},
    {40111, "Day routine"},

    // Weekdays, Monday first
    {40112, "Monday"},
    {40113, "Tuesday"},
    {40114, "Wednesday"},
    {40115, "Thursday"},
    {40116, "Friday"},
    {40117, "Saturday"},
    {40118, "Sunday"},
    {40119, "\"none\""},
    {40121, "Date"},
    {40122, "Year"},
    {40123, "Start"},
    {40124, "End"},
    {40125, "Offset"},

    // Weekday abbreviations, Monday first
    {40126, "Mo"},
    {40127, "Tu"},
    {40128, "We"},
    {40129, "Th"},
    {40130, "Fr"},
    {40131, "Sa"},
    {40132, "Su"},
    {40133, "h"},
    {40134, "from"},
    {40135, "to"},
    {40136, "Time"},

    // Internal clock
    {40137, "Parameters of the internal clock"},
    {40138, "Operating mode of clock:"},
    {40139, "Group address for time:"},
    {40140, "Group address for date:"},
    {40141, "send at:"},
    // The status line while nothing else is said.
    {57345, "Ready"},
    // The framework's message when a print preview cannot start.
    {61705, "Unable to show the print preview."},
    // The framework's message when the file a job prints to cannot be
    // written: the file and the system's reason.
    {61720, "The file \"%1\" cannot be written: %2.\nPlease choose a different file name."},
};

}  // namespace

const platform::ResList<platform::ResString> g_strings{g_aStrings, std::size(g_aStrings)};

}  // namespace resources::en
