// png_writer.cpp: the smallest PNG writer that serves: one IDAT chunk, zlib's deflate, no filter.
#include "png_writer.h"

#include <cstdio>
#include <zlib.h>

namespace {

void putBigEndian(std::vector<uint8_t>& out, uint32_t value)
{
    out.push_back(static_cast<uint8_t>(value >> 24));
    out.push_back(static_cast<uint8_t>(value >> 16));
    out.push_back(static_cast<uint8_t>(value >> 8));
    out.push_back(static_cast<uint8_t>(value));
}

// Appends one chunk: length, type, data, and the CRC over type and data.
void putChunk(std::vector<uint8_t>& out, const char type[4], const std::vector<uint8_t>& data)
{
    putBigEndian(out, static_cast<uint32_t>(data.size()));
    size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, out.data() + typeAt, static_cast<uInt>(4 + data.size()));
    putBigEndian(out, static_cast<uint32_t>(crc));
}

} // namespace

bool writePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb)
{
    if (width <= 0 || height <= 0 || rgb.size() < static_cast<size_t>(width) * height * 3) {
        return false;
    }
    // Each row starts with its filter type, 0 (none).
    std::vector<uint8_t> raw;
    raw.reserve(static_cast<size_t>(height) * (width * 3 + 1));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        const uint8_t* row = rgb.data() + static_cast<size_t>(y) * width * 3;
        raw.insert(raw.end(), row, row + width * 3);
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 6) !=
        Z_OK) {
        return false;
    }
    packed.resize(packedSize);

    std::vector<uint8_t> header;
    putBigEndian(header, static_cast<uint32_t>(width));
    putBigEndian(header, static_cast<uint32_t>(height));
    header.push_back(8);  // bits per channel
    header.push_back(2);  // colour type: RGB
    header.push_back(0);  // deflate
    header.push_back(0);  // adaptive filtering, every row "none" here
    header.push_back(0);  // not interlaced

    const uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> file(signature, signature + sizeof signature);
    putChunk(file, "IHDR", header);
    putChunk(file, "IDAT", packed);
    putChunk(file, "IEND", {});

    FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) return false;
    bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    return std::fclose(out) == 0 && written;
}
