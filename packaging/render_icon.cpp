// Renders the program icon's SVG drawing as square PNG icons, one for each size asked for.
// Usage: render_icon SOURCE.svg OUTPUT_DIR SIZE... (writes OUTPUT_DIR/SIZE.png)
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s SOURCE.svg OUTPUT_DIR SIZE...\n", argv[0]);
    return 2;
  }
  QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
  if (!svg.isValid()) {
    std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[1]);
    return 1;
  }
  for (int i = 3; i < argc; ++i) {
    int size = QString::fromLocal8Bit(argv[i]).toInt();
    if (size <= 0) {
      std::fprintf(stderr, "%s: bad size %s\n", argv[0], argv[i]);
      return 2;
    }
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    svg.render(&p);
    p.end();
    QString out = QString::fromLocal8Bit(argv[2]) + "/" + QString::number(size) + ".png";
    if (!img.save(out, "PNG")) {
      std::fprintf(stderr, "%s: cannot write %s\n", argv[0], qPrintable(out));
      return 1;
    }
  }
  return 0;
}
