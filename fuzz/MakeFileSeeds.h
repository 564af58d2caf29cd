#pragma once
// The seeds of the targets that read files and records (MakeFileSeeds.cpp).

#include <filesystem>

// Writes them into <root>/<target>/; `samples` is the project's samples
// folder.
void WriteFileSeeds(const std::filesystem::path& root, const std::filesystem::path& samples);
