#pragma once
// Installs the windows of the quantity and group-address editors where the
// layers below reach them: the usage dialog for the tables' usage command
// and for the association reconciliation.

void InstallGroupEditors();
