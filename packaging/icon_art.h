// The editor's pixel-art icon at the sizes a desktop asks for: raster
// copies for the hicolor theme and a scalable vector copy, made from the one
// image the editor itself shows.
#pragma once

#include <QImage>
#include <QString>

// image at size x size pixels: whole multiples of its size repeat each
// pixel so the art stays sharp; other sizes are smoothed.
QImage iconAtSize(const QImage& image, int size);

// An SVG document that draws every opaque pixel of image as a unit square
// (runs of one colour in a row merged), in a view box of the image's size.
QString iconAsSvg(const QImage& image);
