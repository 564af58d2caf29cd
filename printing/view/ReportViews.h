#pragma once
// Puts the report view behind the main window's print commands.

void InstallReportView();
