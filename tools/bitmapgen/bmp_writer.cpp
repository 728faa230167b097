#include "bmp_writer.h"

namespace bitmapgen {
namespace {

void PutWord(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

void PutDword(std::vector<uint8_t>& out, uint32_t value) {
    PutWord(out, value & 0xFFFF);
    PutWord(out, value >> 16);
}

constexpr int kMaxRun = 255;
// Literal stretches stop at an even length: some decoders get the padding
// of a 255-pixel stretch wrong.
constexpr int kMaxLiteral = 254;

// The length of the run of equal indices starting at column i.
int RunAt(const uint8_t* row, int width, int i) {
    int n = 1;
    while (i + n < width && n < kMaxRun && row[i + n] == row[i]) ++n;
    return n;
}

void EncodeRow(const uint8_t* row, int width, std::vector<uint8_t>& out) {
    int i = 0;
    while (i < width) {
        const int run = RunAt(row, width, i);
        if (run >= 3) {
            out.push_back(static_cast<uint8_t>(run));
            out.push_back(row[i]);
            i += run;
            continue;
        }
        // A literal stretch up to the next run of three or more.
        int end = i;
        while (end < width && end - i < kMaxLiteral && RunAt(row, width, end) < 3) end += RunAt(row, width, end);
        if (end - i > kMaxLiteral) end = i + kMaxLiteral;
        const int count = end - i;
        if (count < 3) {
            // Too short for a literal stretch: short runs.
            for (int k = i; k < end;) {
                int n = RunAt(row, width, k);
                if (k + n > end) n = end - k;
                out.push_back(static_cast<uint8_t>(n));
                out.push_back(row[k]);
                k += n;
            }
        } else {
            out.push_back(0);
            out.push_back(static_cast<uint8_t>(count));
            out.insert(out.end(), row + i, row + end);
            if (count % 2 != 0) out.push_back(0);  // literals end on a 16-bit boundary
        }
        i = end;
    }
}

}  // namespace

std::vector<uint8_t> EncodeRle8(const std::vector<uint8_t>& indices, int width, int height) {
    std::vector<uint8_t> out;
    for (int stored = 0; stored < height; ++stored) {
        const int row = height - 1 - stored;  // bottom row first
        EncodeRow(indices.data() + static_cast<size_t>(row) * width, width, out);
        out.push_back(0);
        out.push_back(stored + 1 < height ? 0 : 1);  // end of line, or of the bitmap
    }
    return out;
}

std::vector<uint8_t> BitmapFile(const std::vector<uint8_t>& indices, int width, int height,
                                const std::vector<Rgb>& colours) {
    const std::vector<uint8_t> bits = EncodeRle8(indices, width, height);
    const uint32_t header_bytes = 14 + 40 + static_cast<uint32_t>(colours.size()) * 4;
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    PutDword(out, header_bytes + static_cast<uint32_t>(bits.size()));
    PutDword(out, 0);
    PutDword(out, header_bytes);
    PutDword(out, 40);                                        // biSize
    PutDword(out, static_cast<uint32_t>(width));              // biWidth
    PutDword(out, static_cast<uint32_t>(height));             // biHeight: bottom-up
    PutWord(out, 1);                                          // biPlanes
    PutWord(out, 8);                                          // biBitCount
    PutDword(out, 1);                                         // biCompression: BI_RLE8
    PutDword(out, static_cast<uint32_t>(bits.size()));        // biSizeImage
    PutDword(out, 2835);                                      // 72 pixels per inch
    PutDword(out, 2835);
    PutDword(out, static_cast<uint32_t>(colours.size()));     // biClrUsed
    PutDword(out, 0);                                         // biClrImportant
    for (const Rgb& c : colours) {
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        out.push_back(0);
    }
    out.insert(out.end(), bits.begin(), bits.end());
    return out;
}

std::vector<uint8_t> PictureFile(const Canvas& canvas) {
    std::vector<uint8_t> indices(static_cast<size_t>(canvas.width()) * canvas.height());
    for (int row = 0; row < canvas.height(); ++row) {
        for (int column = 0; column < canvas.width(); ++column) {
            indices[static_cast<size_t>(row) * canvas.width() + column] =
                canvas.Opaque(column, row) ? canvas.Pixel(column, row) : kBlack;
        }
    }
    return BitmapFile(indices, canvas.width(), canvas.height(), std::vector<Rgb>(kPalette, kPalette + kColourCount));
}

std::vector<uint8_t> MaskFile(const Canvas& canvas) {
    constexpr uint8_t kOpaque = 0;       // black
    constexpr uint8_t kTransparent = 1;  // white
    std::vector<uint8_t> indices(static_cast<size_t>(canvas.width()) * canvas.height());
    for (int row = 0; row < canvas.height(); ++row) {
        for (int column = 0; column < canvas.width(); ++column) {
            indices[static_cast<size_t>(row) * canvas.width() + column] =
                canvas.Opaque(column, row) ? kOpaque : kTransparent;
        }
    }
    return BitmapFile(indices, canvas.width(), canvas.height(), {{0, 0, 0}, {255, 255, 255}});
}

}  // namespace bitmapgen
