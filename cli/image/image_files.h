// Writing the status picture to a file: PNG (where the PNG library is
// available: the Linux build) or BMP (24-bit, uncompressed: every build).
// The file name's ending chooses the format.
#pragma once

#include <string>

#include "image/picture.h"

namespace tb58mon {

// True when this build writes PNG files.
bool PngAvailable();

// status.png where PNG files can be written, else status.bmp.
std::string DefaultPictureFile();

// Throws a BadArgument CliError when the name does not end in a format this
// build writes (.png with the PNG library, .bmp always; any case).
void CheckPictureFileName(const std::string& path);

// Writes image to path; throws a CliError when the file cannot be written.
void WritePicture(const std::string& path, const Image& image);

// The bytes of the picture file path names (PNG or BMP by its ending).
std::string EncodePicture(const std::string& path, const Image& image);

// Replaces the file at path whole (base/replace_file.h): a reader sees the
// old picture or the new one, and a link planted beside it is not followed.
void ReplacePicture(const std::string& path, const Image& image);

// The picture as the bytes of a PNG file; throws where there is no PNG
// library.
std::string EncodePng(const Image& image);

// The picture as the bytes of a 24-bit BMP file.
std::string EncodeBmp(const Image& image);

// The two writers.
void WriteBmp(const std::string& path, const Image& image);
void WritePng(const std::string& path, const Image& image);

}  // namespace tb58mon
