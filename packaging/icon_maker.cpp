// icon_maker: writes the editor's icon for the desktop.
//
//   icon_maker png IMAGE SIZE OUTPUT.png
//   icon_maker svg IMAGE OUTPUT.svg
//
// Exit status 0 when the file was written, 1 otherwise (with a line on
// standard output that says why).
#include <QFile>
#include <QImage>
#include <QSaveFile>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "icon_art.h"

namespace {

int fail(const std::string& message) {
  std::printf("icon_maker: %s\n", message.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (!((mode == "png" && argc == 5) || (mode == "svg" && argc == 4))) {
    return fail("usage: icon_maker png IMAGE SIZE OUTPUT | icon_maker svg IMAGE OUTPUT");
  }
  const QImage image(QString::fromLocal8Bit(argv[2]));
  if (image.isNull()) return fail(std::string("cannot read ") + argv[2]);
  const QString output = QString::fromLocal8Bit(argv[argc - 1]);

  if (mode == "png") {
    const int size = std::atoi(argv[3]);
    if (size <= 0 || size > 1024) return fail(std::string("bad size ") + argv[3]);
    if (!iconAtSize(image, size).save(output, "PNG")) {
      return fail("cannot write " + output.toStdString());
    }
    return 0;
  }
  QSaveFile file(output);
  const QByteArray svg = iconAsSvg(image).toUtf8();
  if (!file.open(QIODevice::WriteOnly) || file.write(svg) != svg.size() || !file.commit()) {
    return fail("cannot write " + output.toStdString());
  }
  return 0;
}
