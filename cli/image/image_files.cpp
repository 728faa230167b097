#include "image/image_files.h"

#include <cctype>

#include "base/cli_error.h"
#include "base/replace_file.h"

namespace tb58mon {
namespace {

bool EndsWith(const std::string& path, const char* ending) {
    std::string lower;
    for (char c : path) lower.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    const std::string suffix(ending);
    return lower.size() > suffix.size() && lower.compare(lower.size() - suffix.size(), suffix.size(), suffix) == 0;
}

}  // namespace

std::string DefaultPictureFile() { return PngAvailable() ? "status.png" : "status.bmp"; }

void CheckPictureFileName(const std::string& path) {
    if (EndsWith(path, ".bmp")) return;
    if (EndsWith(path, ".png")) {
        if (PngAvailable()) return;
        throw BadArgument("this build writes BMP pictures only (no PNG library): name the file '....bmp', not '" +
                          path + "'");
    }
    throw BadArgument(std::string("the picture file name '") + path + "' must end in " +
                      (PngAvailable() ? ".png or .bmp" : ".bmp"));
}

void WritePicture(const std::string& path, const Image& image) {
    CheckPictureFileName(path);
    if (EndsWith(path, ".bmp")) {
        WriteBmp(path, image);
    } else {
        WritePng(path, image);
    }
}

std::string EncodePicture(const std::string& path, const Image& image) {
    CheckPictureFileName(path);
    return EndsWith(path, ".bmp") ? EncodeBmp(image) : EncodePng(image);
}

void ReplacePicture(const std::string& path, const Image& image) { ReplaceFileContents(path, EncodePicture(path, image)); }

}  // namespace tb58mon
