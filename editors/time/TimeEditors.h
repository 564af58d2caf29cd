#pragma once
// Installs the tables of the time-program and clock editors in the table
// pane's factory.

void InstallTimeEditors();
