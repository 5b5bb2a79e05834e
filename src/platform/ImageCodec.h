// Decoding of PNG, JPEG, BMP and TGA images into ARGB texels, and PNG writing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ImageCodec {

// False (and a reason) when the bytes are no image this codec reads.
bool Decode(const void* data, size_t size, int& width, int& height, std::vector<uint32_t>& argb,
            std::string& reason);

// Writes ARGB texels (rows top to bottom) as a PNG file.
bool WritePng(const std::string& path, int width, int height, const std::vector<uint32_t>& argb);

}  // namespace ImageCodec
