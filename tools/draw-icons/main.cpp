// Draws the program's pictures: the 48 x 48 splash printer and the 32 x 32 application icon.
// Run once by hand (draw-icons OUTDIR); the PNGs it writes are kept in src/app/resources.
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

void drawPrinter(QPainter& p, double s, const QColor& body, const QColor& panel, const QColor& sheet,
                 bool printedSheet, bool light) {
    p.setRenderHint(QPainter::Antialiasing);
    const auto r = [s](double x, double y, double w, double h) { return QRectF(x * s, y * s, w * s, h * s); };
    // Blank sheet standing out of the top.
    p.setPen(QPen(QColor(150, 160, 170), 0.6 * s / 16));
    p.setBrush(sheet);
    p.drawRect(r(4.5, 1, 7, 6));
    // Body.
    QLinearGradient g(0, 5 * s, 0, 12 * s);
    g.setColorAt(0, body.lighter(125));
    g.setColorAt(1, body.darker(115));
    p.setBrush(g);
    p.setPen(QPen(body.darker(160), 0.6 * s / 16));
    QPainterPath bodyPath;
    bodyPath.addRoundedRect(r(1, 5.5, 14, 6.5), 1.2 * s / 16 * 1.5, 1.2 * s / 16 * 1.5);
    p.drawPath(bodyPath);
    // Front panel.
    p.setBrush(panel);
    p.setPen(Qt::NoPen);
    p.drawRect(r(2.5, 9, 11, 1.6));
    if (light) {
        p.setBrush(QColor(255, 214, 0));
        p.drawEllipse(r(12, 6.6, 1.4, 1.4));
    }
    // Printed sheet coming out at the bottom.
    p.setPen(QPen(QColor(150, 160, 170), 0.6 * s / 16));
    p.setBrush(sheet);
    p.drawRect(r(4, 10.5, 8, 5));
    if (printedSheet) {
        p.setPen(QPen(QColor(130, 130, 130), 0.7 * s / 16));
        p.drawLine(QPointF(5.3 * s, 12.4 * s), QPointF(10.7 * s, 12.4 * s));
        p.drawLine(QPointF(5.3 * s, 14 * s), QPointF(9.5 * s, 14 * s));
    }
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");

    QImage splash(48, 48, QImage::Format_ARGB32);
    splash.fill(Qt::transparent);
    {
        QPainter p(&splash);
        drawPrinter(p, 3.0, QColor(112, 128, 150), QColor(40, 90, 190), Qt::white, true, true);
    }
    splash.save(out + "/splash.png");

    QImage icon(32, 32, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    {
        QPainter p(&icon);
        drawPrinter(p, 2.0, QColor(128, 128, 128), QColor(90, 90, 90), QColor(200, 225, 250), false, false);
    }
    icon.save(out + "/velkaro.png");
    return 0;
}
