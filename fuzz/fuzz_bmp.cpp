// Arbitrary bytes as a face picture, the whole way the palette takes them: the decoder never
// reads outside the input and either refuses it or returns a picture whose pixel count matches its
// size within the accepted bounds; its centre is then copied into a face's square without writing
// outside it.
#include "palette/Bmp.h"

#include <algorithm>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TImage image;
    if (DecodeBmp(data, size, image)) {
        if (image.width <= 0 || image.height <= 0 || image.width > MAXPICTURESIDE ||
            image.height > MAXPICTURESIDE ||
            image.pixels.size() != static_cast<size_t>(image.width) * image.height)
            std::abort();
        constexpr int side = 32;
        std::vector<uint32_t> square(side * side);
        const TCopied c = CopyCentre(image, side, square.data(), side);
        if (c.width != std::min(image.width, side) || c.height != std::min(image.height, side))
            std::abort();
    } else if (!image.pixels.empty()) {
        std::abort();
    }
    return 0;
}
