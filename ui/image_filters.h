// Pixel filters over 32-bit buffers and the chains that make the toolbar's
// normal and disabled images from its one bitmap. No widgets involved.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "ui/pixel.h"

// Rows top-down, width × height pixels.
struct PixelBuffer {
    int width = 0;
    int height = 0;
    std::vector<Pixel> pixels;

    PixelBuffer() = default;
    PixelBuffer(int w, int h, Pixel fill = 0)
        : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, fill) {}
    Pixel& At(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    Pixel At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

class CImageFilter {
public:
    virtual ~CImageFilter() = default;

    // Both filters here keep the size; the hook exists so a chain can grow.
    virtual void OutputSize(int width, int height, int* outWidth, int* outHeight) const;
    // `dst` holds the output size's pixels; pixels equal to the key (in
    // red, green and blue) are copied unchanged.
    void Process(const Pixel* src, int width, int height, Pixel* dst) const;

    void SetKey(Pixel key) {
        m_crKey = key & 0x00FFFFFF;
        m_bUseKey = true;
    }
    void ClearKey() { m_bUseKey = false; }

protected:
    virtual Pixel Filter(Pixel p) const = 0;

private:
    Pixel m_crKey = 0;
    bool m_bUseKey = false;
};

// grey = (blue + 6 × green + 3 × red) / 10 for all three channels.
class CGreyFilter : public CImageFilter {
protected:
    Pixel Filter(Pixel p) const override;
};

// Moves the HSL lightness by `amount`, stopping at 0 and 1.
class CLightnessFilter : public CImageFilter {
public:
    explicit CLightnessFilter(float amount) : m_fAmount(amount) {}

protected:
    Pixel Filter(Pixel p) const override;

private:
    float m_fAmount;
};

class CFilterChain {
public:
    explicit CFilterChain(Pixel background = kWhite) : m_crBackground(background) {}

    // Adds a filter keyed to `key` (magenta for the toolbar).
    CFilterChain& Add(std::unique_ptr<CImageFilter> filter, Pixel key = kMagentaKey);

    // Runs every filter in order over `image`. On failure (empty chain or
    // image, bad sizes) `image` stays as it was and false is returned.
    bool Apply(PixelBuffer& image) const;

private:
    std::vector<std::unique_ptr<CImageFilter>> m_filters;
    Pixel m_crBackground;
};

// The toolbar's three image sets, all from one bitmap with magenta as the
// transparent colour.
struct ToolbarImageSets {
    PixelBuffer hot;       // the bitmap as loaded
    PixelBuffer normal;    // lightness +0.04 twice
    PixelBuffer disabled;  // grey, then lightness +0.08 three times
};

constexpr float kNormalLightnessStep = 0.04f;
constexpr float kDisabledLightnessStep = 0.08f;

ToolbarImageSets MakeToolbarImageSets(const PixelBuffer& bitmap);
