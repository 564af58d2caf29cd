// German string table of the plug-in, built in. UTF-8.

#include "resources/de/Tables.h"

#include <iterator>

namespace resources::de {

namespace {

const platform::ResString g_aStrings[] = {
    // Internal clock labels and lock polarity
    {11, "Zeitprogramm:"},
    {12, "Zeitprogrammtyp:"},
    {13, "mit 1 sperren"},
    {14, "mit 1 freigeben"},

    // Device frame, file filters, progress texts
    {101, "Allgemein"},
    {102, "Hersteller:"},
    {103, "Tavik (*.tv2)|*.tv2|CSV Format (*.csv)|*.csv|Alle Dateien (*.*)|*.*||"},
    {104, "Tavik (*.tv2)|*.tv2|Alle Dateien (*.*)|*.*||"},
    {105, "Für das Objekt %d ist nur eine Zuordnung zulässig."},
    {106, "Verbinde Kommunikationsobjekte"},
    {107, "*leer*"},
    {108, "Tagesabläufe"},
    {111, "Größe"},
    {113, "Parameterdaten laden"},
    {114, "Initialisiere Ladevorgang..."},
    {115, "Lese Gerätedaten..."},
    {116, "Lese Parameter..."},
    {118, "Initialisiere Datenhaushalt..."},
    {119, "Mengenverknüpfungen"},
    {120, "Interne Uhr"},
    {121, "Fehler beim Aufbau der Verbindung zu Gerät %u.%u.%u."},
    {122, "Externe physikalische Schnittstelle konnte nicht installiert werden."},
    {123, "Fehler beim Lesen der Datum/Uhrzeit Information."},
    {124, "Fehler beim Schreiben der Datum/Uhrzeit Information."},
    {125, "Physikalische Adresse:"},
    {127, "Applikation:"},
    {128, "Parameterdaten programmieren"},
    {130, "Lade Gerät"},
    {131, "Parameterdaten speichern"},
    {132, "Initialisiere Speichervorgang..."},
    {133, "Lösche bestehende Objektverbindungen..."},
    {134, "Schreibe Parameter..."},
    {135, "Sendeverzögerung"},
    {136, "Anzeigenamen der Tagesabläufe"},
    {137, "Anzeigenamen der Mengen"},
    {138, "Applikationsinformationen"},
    {140, "Lese Gerät"},
    {141, "Aufbau der Verbindung"},
    {142, "Datum/Uhrzeit Information"},
    {143, "Die Zuordnung konnte nicht getroffen werden, da die maximal Anzahl von Zuordnungen erreicht wurde."},
    {144, "Fehler beim Ermitteln der Zuordnungsdaten."},
    {145, "CSV Format (*.csv)|*.csv|Alle Dateien (*.*)|*.*||"},
    {146, "Abbrechen"},
    {147, "Tavik (*.tv2)|*.tv2|Tavik (*.tv1)|*.tv1|Alle Dateien (*.*)|*.*||"},
    {148, "Tavik (*.tv2)|*.tv2|Alle Dateien (*.*)|*.*||"},

    // Clock modes
    {151, "intern"},
    {152, "Slave (immer empfangen)"},
    {153, "Slave, Sperrzeit (00:05...23:55 empfangen)"},
    {154, "Master (minütlich senden)"},
    {155, "Master (stündlich senden)"},
    {156, "Master (täglich senden)"},
    {160, "Gruppenadresse zur Anforderung:"},

    // Group-address check, download steps, usage texts
    {161, "Einige der in der ORV/X Parametrierung verwendeten Gruppenadressen sind nicht mehr in der ETS Datenbank "
          "vorhanden, oder mit einem Objekt unbekannten Typs verknüpft. Die Adressen und deren Zuordnungen wurden "
          "entfernt."},
    {162, "Prüfung der Gruppenadressen"},
    {163, "Kommunikationsobjekttabelle"},
    {164, "Adresstabelle"},
    {165, "Zuordnungstabelle"},
    {166, "Kommunikationsobjekt: %u"},
    {167, "für Objekt %u"},
    {168, "Menge"},
    {170, "Überprüfe GA-Konsistenz..."},
    {171, "Objekte: MA"},
    {172, "Objekte: SZ, MM, TA"},
    {173, "Datum, Uhrzeit und Abfrage"},
    {174, "Aktualisiere Verknüpfungen"},
    {175, "Lösche temporäre Daten"},
    {176, "Aktualisiere Abfrage-Mengenauslöser"},
    {177, "Erstelle Objektzuordnungsliste"},
    {180, "&Einfügen"},

    // Print preview bar
    {181, "&Drucken..."},
    {182, "&Schließen"},
    {183, "&Näch. Seite"},
    {184, "&Vorh. Seite"},
    {185, "&Eine Seite"},
    {186, "&Zwei Seiten"},
    {187, "Ver&größern"},
    {188, "Ver&kleinern"},
    {189, "Löschen"},
    {193, "Zuordnungen ausgelastet"},
    {194, "Die maximale Anzahl von Zuordnungen ist erreicht.\r\nFür Mengenmitglieder und Schaltzeiten ist die Auswahl "
          "der Gruppenadressen eingeschränkt, für Mengenauslöser und Tagesabläufe ist keine Auswahl mehr möglich."},

    // Quantities
    {202, "Bereich A"},
    {203, "Bereich B"},
    {204, "Auslösung"},
    {210, "undefiniert"},
    {211, "Warmstart"},
    {212, "Kaltstart"},
    {213, "Initwert"},
    {214, "bis"},
    {215, "ab"},
    {216, "Auslöser der Menge"},
    {217, "Abfrage"},
    {218, "Mitglieder der Menge"},
    {219, "Gerätevergleich fehlgeschlagen! Programm nicht kompatibel."},
    {220, "\"keine\""},
    {221, "frei von insgesamt"},
    {222, "als Auslöser/Anzeige für:"},
    {223, "als Mitglied in:"},
    {228, "als Auslöser für"},
    {229, "als Mitglied in"},
    {230, "als Schaltzeit in"},
    {240, "Zulässig sind Eingaben vom %s bis %s."},
    {241, "Unzulässige Datumseingabe!"},

    // Object types
    {250, "1 Bit"},
    {251, "2 Bit Priorität"},
    {252, "1 Byte vorzeichenlos"},
    {253, "1 Byte vorzeichenbehaftet"},
    {254, "2 Byte vorzeichenlos"},
    {255, "2 Byte vorzeichenbehaftet"},
    {256, "2 Byte Gleitkommazahl"},
    {257, "3 Byte Zeit"},
    {258, "3 Byte Datum"},
    {259, "ungültig"},

    // Quantity codes, short and long forms
    {260, "A, B"},
    {261, ">A, >B"},
    {262, "A< >B"},
    {263, "Bus"},
    {264, "RAM"},
    {265, "kein"},
    {266, "Bus"},
    {267, "Init"},
    {268, "kein"},

    // Send delays
    {269, "keine"},
    {270, "0,1 s"},
    {271, "0,2 s"},
    {272, "0,3 s"},
    {273, "0,4 s"},
    {274, "0,5 s"},
    {275, "normal"},

    {280, "A, B (immer)"},
    {281, ">A, >B (Neueintritt)"},
    {282, "A< >B (Hysterese)"},
    {283, "Bus (Wert lesen)"},
    {284, "RAM (alter Wert)"},
    {285, "kein (keine Reaktion)"},
    {286, "Bus (Wert lesen)"},
    {287, "Init (Initwert verwenden)"},
    {288, "kein (keine Reaktion)"},

    // Object sizes
    {290, "1 Bit"},
    {291, "2 Bit"},
    {292, "1 Byte"},
    {293, "2 Byte"},
    {294, "3 Byte"},
    {295, "ungültig"},
    {296, "Keine Druckdatenselektion"},

    {300, "Bereich"},
    {301, "A"},
    {302, "B"},
    {304, "neue Gruppenadresse"},
    {305, "Seite %u"},
    {306, "EIB verbinden"},
    {307, "Versuche Verbindung zu EIB herzustellen..."},

    // Usage columns
    {310, "TA"},
    {311, "SZ"},
    {312, "MA"},
    {313, "MM"},

    // Priorities
    {314, "System"},
    {315, "Alarm"},
    {316, "Hoch"},
    {317, "Niedrig"},

    // 2-bit values
    {340, "Frei"},
    {341, "Zwangs-Ein"},
    {342, "Zwangs-Aus"},

    // Tree nodes
    {350, "Zeitschaltprogramm"},
    {351, "Mengen"},
    {352, "Gruppenadressen"},
    {353, "Auslastung"},
    {354, "Ungültiges Datumformat"},

    // Main, middle and sub groups
    {380, "Neue Untergruppe"},
    {381, "Neue Mittelgruppe"},
    {382, "Neue Hauptgruppe"},
    {384, "Mittelgruppe bearbeiten"},
    {385, "Hauptgruppe bearbeiten"},
    {390, "in %"},
    {391, "Standard"},
    {400, "Hauptgruppe"},
    {401, "Mittelgruppe"},
    {402, "Untergruppe"},
    {403, "Adresse"},
    {404, "Beschreibung"},
    {405, "W"},
    {406, "ZF"},
    {410, "Zuordnungen"},
    {411, "KO"},
    {412, "kein"},
    {420, "Hinweis"},
    {421, "Keine Hauptgruppenadressen verfügbar"},
    {422, "Hauptgruppenadresse ist schon vergeben"},
    {423, "Keine Mittelgruppenadressen verfügbar"},
    {424, "Mittelgruppenadresse ist schon vergeben"},
    {425, "Keine Untergruppen verfügbar"},
    {426, "Untergruppenadresse ist schon vergeben"},
    {427, "Der Sondertag liegt vollständig über existierenden Sondertagen und wird daher nicht eingefügt."},
    {428, "Sondertag getrimmt"},
    {430, "Die Maximalzahl von Gruppenadressen ist erreicht. Neue Gruppenadressen können erst wieder in die "
          "Parametrierung übernommen bzw. neu angelegt werden, wenn eine oder mehrere Gruppenadressen aus der "
          "Parametrierung gelöscht wurden."},
    {431, "Gruppenadressen ausgelastet"},

    // Input checks
    {450, "Die angegebene Bezeichnung ist mit %d Zeichen zu lang und wird daher gekürzt. Bezeichnungen dürfen "
          "maximal %d Zeichen lang sein."},
    {451, "Bezeichnung zu lang"},
    {452, "Das angegebene Zeitintervall ist negativ oder Null. Bitte ändern Sie die Start- oder Endzeit "
          "entsprechend."},
    {453, "Ungültiges Zeitintervall"},
    {454, "Die Anzahl der Schaltzeiten in dem angegebenen Zeitraum übersteigt die maximale Anzahl der Einträge in "
          "der Tabelle."},
    {455, "Zu viele Schaltzeiten"},
    {458, "Das angegebene Zeitintervall ist zu lang. Bitte ändern Sie die Start- oder Endzeit entsprechend."},

    // Device object table
    {470, "PA"},
    {471, "Funktion"},
    {472, "Objektname"},
    {473, "Priorität"},
    {474, "K"},
    {475, "L"},
    {476, "S"},
    {477, "Ü"},
    {478, "Akt"},
    {479, "Ack"},

    {501, "Fehler während des Schreibvorganges."},
    {502, "Anwenderprogramm Status"},
    {504, "ms"},
    {505, "Änderungen speichern"},
    {506, "Sollen die geänderten Daten gespeichert werden?"},

    // Limits and insertion
    {600, "In Benutzung"},
    {601, "Die ausgewählte Gruppenadresse ('%s': '%s') ist bereits in der Liste der verwendeten Gruppenadressen "
          "enthalten."},
    {602, "Gruppenadressen ausgelastet"},
    {603, "Die maximale Anzahl von Gruppenadressen ist erreicht. Sie können erst wieder Gruppenadressen hinzufügen, "
          "wenn Sie in der Übersicht über die bereits eingefügten Gruppenadressen Einträge löschen."},
    {604, "Sondertage ausgelastet"},
    {605, "Die maximale Anzahl von Sondertagen ist erreicht. Um weitere Sondertage zu erstellen müssen Sie zunächst "
          "nicht mehr benötigte Sondertage löschen."},
    {606, "Sommerzeiten ausgelastet"},
    {607, "Die maximale Anzahl von Sommerzeiten ist erreicht."},
    {608, "Mengen ausgelastet"},
    {609, "Die maximale Anzahl von Mengen ist erreicht."},
    {611, "Die bereits ausgewählten Auslösegruppenadressen werden gelöscht."},
    {614, "Schaltzeiten ausgelastet"},
    {615, "Die maximale Anzahl von Schaltzeiten ist erreicht."},
    {616, "Mengenmitglieder ausgelastet"},
    {617, "Die maximale Anzahl von Mengenmitgliedern ist erreicht."},
    {618, "Einfügen"},
    {619, "%d der %d Elemente konnten nicht eingefügt werden"},
    {620, "Tagesabläufe ausgelastet"},
    {621, "Die maximale Anzahl von Tagesabläufen ist erreicht."},
    {622, "Die ausgewählte Gruppenadresse ('%s': '%s') ist einem Objekt nicht unterstützten Typs zugeordnet."},
    {623, "Unbekannter Objekttyp"},
    {624, "Der Typ der gewählten Gruppenadresse ('%s': '%s') kann nicht verwendet werden."},
    {625, "Ungültiger Objekttyp"},
    {626, "min. Telegrammabstand:"},

    // About box
    {650, "Über Parametriersoftware Tavik 2.1"},
    {651, "Parametriersoftware Tavik 2.1 für den ORV/X2.1"},
    {652, "Über Parametrierung Tavik"},
    {653, "Parametrierung Tavik"},

    // Duplicates and questions
    {700, "Es existiert bereits ein Eintrag mit der selben Schaltzeit und Gruppenadresse."},
    {701, "Doppelte Schaltzeit"},
    {704, "Kein Tagesablauf definiert"},
    {705, "Es ist noch kein Tagesablauf definiert. Jeder Sondertag benötigt jedoch einen zugeordneten Tagesablauf. "
          "Definieren Sie daher bitte zunächst im Abschnitt \"Tagesabläufe\" einen Tagesablauf."},
    {706, "Es ist bereits eine Sommerzeit für das Jahr %d definiert. Sollen die Daten der existierenden Sommerzeit "
          "überschrieben werden?"},
    {707, "Doppelte Sommerzeit"},
    {710, "Die maximale Anzahl von Auslösern für diese Gruppe ist erreicht."},
    {711, "Keine Auslöser"},
    {714, "Es existiert bereits ein Eintrag mit dem selben Bereich und der selben Gruppenadresse."},
    {715, "Doppeltes Mengenmitglied"},
    {720, "Wollen Sie die ausgewählten %d Schaltzeiten löschen?"},
    {722, "Wollen Sie die ausgewählten %d Tagesabläufe löschen? Dadurch werden auch %d Schaltzeiten, %d Sondertage "
          "und %d Wochentagszuordnungen gelöscht."},
    {724, "Wollen Sie die ausgewählten %d Sommerzeiten löschen?"},
    {726, "Wollen Sie die ausgewählten %d Sondertage löschen?"},
    {729, "Wollen Sie die ausgewählten %d Mengenmitglieder löschen?"},
    {731, "Wollen Sie die ausgewählten %d Mengen löschen? Dadurch werden auch %d Mengenmitglieder gelöscht."},
    {735, "Wollen Sie die ausgewählten %d Mengenauslöser löschen?"},
    {736, "Die eingegebene Zeit ist ungültig. Sie wird daher durch den letzten gültigen Wert ersetzt."},
    {737, "Ungültige Zeit"},
    {738, "Wollen Sie die %d ausgewählten (unbenutzten) Gruppenadressen löschen?"},
    {750, "Für die Gruppe '%s' (Adresse %s) mit der Schaltzeit %s:%s Uhr gibt es bereits einen Eintrag. Bitte wählen "
          "Sie eine neue Schaltzeit."},
    {751, "Für die Gruppe '%s' (Adresse %s) existiert noch keine Schaltzeit. Bitte wählen Sie eine Schaltzeit."},

    // New-entry rows
    {752, "*** neuer Tagesablauf ***"},
    {753, "*** neue Schaltzeit ***"},
    {754, "*** neuer Sondertag ***"},
    {755, "*** neue Sommerzeit ***"},
    {756, "*** neues Mengenmitglied ***"},
    {757, "*** neuer Mengenauslöser ***"},
    {758, "*** neue Menge ***"},
    {759, "*** neue Gruppenadresse ***"},

    // Device status and clock
    {801, "kein Tagesablauf"},
    {802, "Sondertag"},
    {803, "aktiviert über Objekt"},
    {804, "nicht definiert"},
    {805, "Sommerzeit"},
    {806, "Normalzeit"},
    {807, "Nein"},
    {808, "Ja"},
    {809, "Gerätestatus lesen"},
    {810, "Fehler beim Lesen des Zeitstempels der Applikationsinformation."},
    {811, "kein Download durchgeführt"},
    {812, "Export"},
    {813, "Fehler beim Speichern der Parameterdaten!"},
    {814, "Fehler beim Laden der Parameterdaten!"},
    {817, "Uhr"},
    {818, "Mitglieder"},
    {820, "nicht geladen"},
    {821, "geladen"},
    {822, "wird geladen"},
    {823, "Fehler"},
    {830, "von"},
    {831, "durch Tagesablauf"},

    // The New command by table type
    {850, "&Neue Schaltzeit"},
    {851, "&Neuer Tagesablauf"},
    {852, "&Neue Sommerzeit"},
    {853, "&Neuer Sondertag"},
    {854, "&Neue Menge"},
    {855, "&Neues Mengenmitglied"},
    {856, "&Neue Gruppenadresse"},
    {857, "&Neu"},
    {858, "&Neuer Mengenauslöser"},

    // Help titles by table type
    {920, "Hilfe zur internen Uhr"},
    {921, "Hilfe zu Zeiten"},
    {922, "Hilfe zur Tagesablauftabelle"},
    {923, "Hilfe zur Schaltzeitentabelle"},
    {924, "Hilfe zur Wochenablaufstabelle"},
    {925, "Hilfe zur Sommerzeitentabelle"},
    {926, "Hilfe zur Sondertagstabelle"},
    {927, "Hilfe zur Übersichtstabelle"},
    {929, "Hilfe zur Mengentabelle"},
    {930, "Hilfe zur Einzelmengenansicht"},
    {931, "Hilfe zur Mengenauslösertabelle"},
    {932, "Hilfe zur Mengenmitgliedertabelle"},
    {933, "Hilfe zur Gruppenadresstabelle"},
    {934, "Hilfe zur Auslastungstabelle"},

    // Switching-time overview
    {1000, "Übersicht der Schaltzeiten"},
    {1001, "Suche Schaltzeiten innerhalb des ausgewählten Zeitintervalls."},
    {1002, "Datum: %s"},

    // Main window title
    {1100, "Vek"},
    {1101, "Tavik/2"},
    {1102, "ORV/X2.1 Applikationsbaustein"},
    {1103, "Parametriersoftware Tavik 2.1"},
    {1104, "Tavik 2.1"},
    {1105, "Applikationsbaustein"},

    // Month names
    {1200, "Januar"},
    {1201, "Februar"},
    {1202, "März"},
    {1203, "April"},
    {1204, "Mai"},
    {1205, "Juni"},
    {1206, "Juli"},
    {1207, "August"},
    {1208, "September"},
    {1209, "Oktober"},
    {1210, "November"},
    {1211, "Dezember"},

    // Table columns
    {2000, "TA Nr."},
    {2001, "TA Name"},
    {2002, "GA Nr."},
    {2003, "GA Name"},
    {2004, "ME Nr."},
    {2005, "ME Name"},
    {2006, "sendend"},
    {2104, "Änderungen werden verloren gehen."},
    {2106, "Wollen Sie trotzdem importieren?"},
    {2107, "Inaktive Zeit (mm:ss):"},

    // Toolbar button texts: short and long part
    {40006, "Speich.|Speichern"},
    {40007, "Drucken|Drucken"},
    {40009, "Einf.|Einfügen"},
    {40019, "Hilfe|Hilfe"},
    {40020, "Kopie.|Kopieren"},
    {40022, "Ende|Ende"},

    // Sections, headings and columns
    {40010, "Wochenablauf"},
    {40011, "Sommerzeiten"},
    {40012, "Sondertage"},
    {40013, "Übersicht"},
    {40021, "Feldname"},
    {40023, "belegt"},
    {40024, "(%)"},
    {40025, "frei"},
    {40026, "Adressen und Objekte"},
    {40027, "Gruppenadressen"},
    {40028, "Objekte"},
    {40032, "Zeiten"},
    {40033, "Schaltzeiten"},
    {40100, "Mengen"},
    {40101, "Mengenmitglieder"},
    {40102, "Name"},
    {40103, "Nr"},
    {40104, "Auslöser"},
    {40105, "Uhrzeit"},
    {40106, "Gruppenadresse"},
    {40107, "Typ"},
    {40108, "Wert"},
    {40109, "SbÄ"},
    {40110, "Wochentag"},
    {40111, "Tagesablauf"},

    // Weekdays, Monday first
    {40112, "Montag"},
    {40113, "Dienstag"},
    {40114, "Mittwoch"},
    {40115, "Donnerstag"},
    {40116, "Freitag"},
    {40117, "Samstag"},
    {40118, "Sonntag"},
    {40119, "\"kein\""},
    {40121, "Datum"},
    {40122, "Jahr"},
    {40123, "Beginn"},
    {40124, "Ende"},
    {40125, "Versatz"},

    // Weekday abbreviations, Monday first
    {40126, "Mo"},
    {40127, "Di"},
    {40128, "Mi"},
    {40129, "Do"},
    {40130, "Fr"},
    {40131, "Sa"},
    {40132, "So"},
    {40133, "h"},
    {40134, "vom"},
    {40135, "bis"},
    {40136, "Zeit"},

    // Internal clock
    {40137, "Parameter der internen Uhr"},
    {40138, "Betriebsart Uhr:"},
    {40139, "Gruppenadresse Uhrzeit:"},
    {40140, "Gruppenadresse Datum:"},
    {40141, "senden um:"},
    // The status line while nothing else is said.
    {57345, "Bereit"},
    // The framework's message when a print preview cannot start.
    {61705, "Die Seitenansicht kann nicht angezeigt werden."},
    // The framework's message when the file a job prints to cannot be
    // written: the file and the system's reason.
    {61720, "Die Datei \"%1\" kann nicht geschrieben werden: %2.\nBitte wählen Sie einen anderen Dateinamen."},
};

}  // namespace

const platform::ResList<platform::ResString> g_strings{g_aStrings, std::size(g_aStrings)};

}  // namespace resources::de
