// Raster and vector copies of the editor's icon.
#include "icon_art.h"

#include <QColor>

QImage iconAtSize(const QImage& image, int size) {
  const QImage source = image.convertToFormat(QImage::Format_ARGB32);
  const bool wholeMultiple =
      source.width() > 0 && size % source.width() == 0 && source.width() == source.height();
  return source.scaled(size, size, Qt::IgnoreAspectRatio,
                       wholeMultiple ? Qt::FastTransformation : Qt::SmoothTransformation);
}

QString iconAsSvg(const QImage& image) {
  const QImage source = image.convertToFormat(QImage::Format_ARGB32);
  const int width = source.width();
  const int height = source.height();
  QString svg = QStringLiteral(
                    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                    "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%2\" "
                    "viewBox=\"0 0 %1 %2\" shape-rendering=\"crispEdges\">\n")
                    .arg(width)
                    .arg(height);
  for (int y = 0; y < height; ++y) {
    int x = 0;
    while (x < width) {
      const QRgb pixel = source.pixel(x, y);
      int run = 1;
      while (x + run < width && source.pixel(x + run, y) == pixel) ++run;
      if (qAlpha(pixel) != 0) {
        QString rect =
            QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"1\" fill=\"%4\"")
                .arg(x)
                .arg(y)
                .arg(run)
                .arg(QColor(pixel).name(QColor::HexRgb));
        if (qAlpha(pixel) != 255) {
          rect += QStringLiteral(" fill-opacity=\"%1\"").arg(qAlpha(pixel) / 255.0, 0, 'g', 3);
        }
        svg += rect + QStringLiteral("/>\n");
      }
      x += run;
    }
  }
  svg += QStringLiteral("</svg>\n");
  return svg;
}
