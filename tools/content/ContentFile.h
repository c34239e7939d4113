#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// Writes one generated file whole, replacing what was there; false with the
// reason when the file cannot be written.
bool WriteContentFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes, std::string& error);
