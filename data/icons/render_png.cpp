// Renders an SVG picture into a square PNG of the given size, for the icon
// sizes the desktop looks for. Usage: render_png SIZE INPUT.svg OUTPUT.png
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: render_png SIZE INPUT.svg OUTPUT.png\n");
        return 2;
    }
    // Painting pictures without text into an image needs no application
    // object, hence no display.
    const int size = std::atoi(argv[1]);
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[2]));
    if (size <= 0 || !renderer.isValid()) {
        std::fprintf(stderr, "render_png: cannot render %s at %s px\n", argv[2], argv[1]);
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    if (!image.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "render_png: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
