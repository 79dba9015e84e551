#include "ui/image_filters.h"

#include <algorithm>

#include "ui/hsl_color.h"

void CImageFilter::OutputSize(int width, int height, int* outWidth, int* outHeight) const {
    *outWidth = width;
    *outHeight = height;
}

void CImageFilter::Process(const Pixel* src, int width, int height, Pixel* dst) const {
    const std::size_t count = static_cast<std::size_t>(width) * height;
    for (std::size_t i = 0; i < count; ++i) {
        const Pixel p = src[i];
        if (m_bUseKey && (p & 0x00FFFFFF) == m_crKey) {
            dst[i] = p;
        } else {
            dst[i] = Filter(p);
        }
    }
}

Pixel CGreyFilter::Filter(Pixel p) const {
    const int grey = (PixelBlue(p) + 6 * PixelGreen(p) + 3 * PixelRed(p)) / 10;
    const auto g = static_cast<std::uint8_t>(grey);
    return (p & 0xFF000000) | MakePixel(g, g, g);
}

Pixel CLightnessFilter::Filter(Pixel p) const {
    CColorHSL colour(PixelRed(p), PixelGreen(p), PixelBlue(p));
    const float lightness = colour.Lightness();
    if (m_fAmount > 0.0f && lightness < 1.0f) {
        colour.SetLightness(std::min(lightness + m_fAmount, 1.0f));
    } else if (m_fAmount < 0.0f && lightness > 0.0f) {
        colour.SetLightness(std::max(lightness + m_fAmount, 0.0f));
    }
    return (p & 0xFF000000) | MakePixel(colour.Red(), colour.Green(), colour.Blue());
}

CFilterChain& CFilterChain::Add(std::unique_ptr<CImageFilter> filter, Pixel key) {
    filter->SetKey(key);
    m_filters.push_back(std::move(filter));
    return *this;
}

bool CFilterChain::Apply(PixelBuffer& image) const {
    if (m_filters.empty() || image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != static_cast<std::size_t>(image.width) * image.height) {
        return false;
    }
    int width = image.width;
    int height = image.height;
    for (const auto& filter : m_filters) {
        int w = 0, h = 0;
        filter->OutputSize(width, height, &w, &h);
        if (w <= 0 || h <= 0) return false;
        width = w;
        height = h;
    }

    // The first filter reads the image directly; later ones read the
    // previous output, with the output refilled with the background first.
    PixelBuffer output(width, height, m_crBackground);
    PixelBuffer source;
    int srcWidth = image.width;
    int srcHeight = image.height;
    const Pixel* src = image.pixels.data();
    bool first = true;
    for (const auto& filter : m_filters) {
        if (!first) {
            source = output;
            std::fill(output.pixels.begin(), output.pixels.end(), m_crBackground);
            src = source.pixels.data();
        }
        first = false;
        int w = 0, h = 0;
        filter->OutputSize(srcWidth, srcHeight, &w, &h);
        filter->Process(src, srcWidth, srcHeight, output.pixels.data());
        srcWidth = w;
        srcHeight = h;
    }
    image = std::move(output);
    return true;
}

ToolbarImageSets MakeToolbarImageSets(const PixelBuffer& bitmap) {
    ToolbarImageSets sets;
    sets.hot = bitmap;

    sets.disabled = bitmap;
    CFilterChain disabled;
    disabled.Add(std::make_unique<CGreyFilter>());
    for (int i = 0; i < 3; ++i) {
        disabled.Add(std::make_unique<CLightnessFilter>(kDisabledLightnessStep));
    }
    disabled.Apply(sets.disabled);

    sets.normal = bitmap;
    CFilterChain normal;
    for (int i = 0; i < 2; ++i) {
        normal.Add(std::make_unique<CLightnessFilter>(kNormalLightnessStep));
    }
    normal.Apply(sets.normal);
    return sets;
}
