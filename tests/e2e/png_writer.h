// png_writer.h: writes an RGB picture as a PNG file, so a person can look at a scenario's shots.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes width x height pixels of 3 bytes (red, green, blue), rows from the top, to path.
// False when the file cannot be written.
bool writePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb);
