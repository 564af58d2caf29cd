#pragma once
// printf-style message boxes over the active window, with an empty caption.
// Each formats its text into the shared log buffer (cut to fit), logs it at
// its level without the source prefix (QuestionBox does not log), shows it
// and returns the button pressed (IDCANCEL when no box can be shown).

int ErrorBox(const char* format, ...) __attribute__((format(printf, 1, 2)));     // level 2, error icon
int NoteBox(const char* format, ...) __attribute__((format(printf, 1, 2)));      // level 4, information icon
int FatalBox(const char* format, ...) __attribute__((format(printf, 1, 2)));     // level 2, error icon
int WarningBox(const char* format, ...) __attribute__((format(printf, 1, 2)));   // level 3, warning icon
void InfoBox(const char* format, ...) __attribute__((format(printf, 1, 2)));     // level 4, information icon
int OkCancelBox(const char* format, ...) __attribute__((format(printf, 1, 2)));  // level 4, question, OK/Cancel
int QuestionBox(const char* format, ...) __attribute__((format(printf, 1, 2)));  // not logged, question, Yes/No/Cancel

// "Memory full" and "Disk full" through FatalBox.
int MemoryFullBox();
int DiskFullBox();
