#include "icon_art.h"

#include <gtest/gtest.h>

namespace {

// A 2 x 2 image: a red run of two, a transparent pixel, a blue one.
QImage tinyArt() {
  QImage image(2, 2, QImage::Format_ARGB32);
  image.setPixel(0, 0, qRgb(255, 0, 0));
  image.setPixel(1, 0, qRgb(255, 0, 0));
  image.setPixel(0, 1, qRgba(0, 0, 0, 0));
  image.setPixel(1, 1, qRgb(0, 0, 192));
  return image;
}

TEST(IconArt, VectorCopyDrawsOpaquePixelsAsMergedRuns) {
  EXPECT_EQ(iconAsSvg(tinyArt()),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"2\" height=\"2\" "
            "viewBox=\"0 0 2 2\" shape-rendering=\"crispEdges\">\n"
            "<rect x=\"0\" y=\"0\" width=\"2\" height=\"1\" fill=\"#ff0000\"/>\n"
            "<rect x=\"1\" y=\"1\" width=\"1\" height=\"1\" fill=\"#0000c0\"/>\n"
            "</svg>\n");
}

TEST(IconArt, WholeMultiplesRepeatPixelsOtherSizesSmooth) {
  const QImage doubled = iconAtSize(tinyArt(), 4);
  ASSERT_EQ(doubled.size(), QSize(4, 4));
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(doubled.pixel(x, y), tinyArt().pixel(x / 2, y / 2)) << x << "," << y;
    }
  }
  const QImage odd = iconAtSize(tinyArt(), 3);
  EXPECT_EQ(odd.size(), QSize(3, 3));
  EXPECT_EQ(odd.format(), QImage::Format_ARGB32);
}

TEST(IconArt, TheEditorsIconGivesEverySize) {
  const QImage icon(TARNEL_EDITOR_ICON);
  ASSERT_FALSE(icon.isNull());
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    EXPECT_EQ(iconAtSize(icon, size).size(), QSize(size, size)) << size;
  }
  EXPECT_TRUE(iconAsSvg(icon).contains("viewBox=\"0 0 32 32\""));
}

}  // namespace
