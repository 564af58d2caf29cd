#pragma once
// Connects the model's host services (logger, localisation, formatting) to
// the host's objects: the creators installed here make the host's COM
// objects by class id and adapt them to the model's interfaces.

// Installs the three creators; called once when the library initialises.
void InstallHostServiceCreators();
