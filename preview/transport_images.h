// The preview toolbar's picture strip, drawn here: eight 16 by 15 images
// on a transparent background, in the order play, pause, stop, blank, skip
// to start, rewind, fast forward, skip to end.
#pragma once

#include <QImage>

constexpr int kTransportImageWidth = 16;
constexpr int kTransportImageHeight = 15;
constexpr int kTransportImageCount = 8;

QImage TransportImageStrip();
