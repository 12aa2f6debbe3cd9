// Arbitrary bytes as a face picture: the decoder never reads outside the input and either refuses
// it or returns a picture whose pixel count matches its size within the accepted bounds.
#include "palette/Bmp.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TImage image;
    if (DecodeBmp(data, size, image)) {
        if (image.width <= 0 || image.height <= 0 || image.width > MAXPICTURESIDE ||
            image.height > MAXPICTURESIDE ||
            image.pixels.size() != static_cast<size_t>(image.width) * image.height)
            std::abort();
    } else if (!image.pixels.empty()) {
        std::abort();
    }
    return 0;
}
