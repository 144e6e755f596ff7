// Draws the program's icon, a handful of glowing balls circling on a night
// sky, as 16 and 32 pixel PNG files with a 256-colour palette, or with
// --full-colour as drawn, for a packer that makes its own palette.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRadialGradient>
#include <QString>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <numbers>

namespace {

constexpr std::array kSizes = {16, 32}; // pixels
constexpr std::array<QRgb, 6> kBallColours = {0xFFFFE040, 0xFFFF4040, 0xFF4070FF,
                                              0xFF40F0F0, 0xFFC050FF, 0xFF50F050};
constexpr QRgb kSkyInner = 0xFF1C2A5C;
constexpr QRgb kSkyOuter = 0xFF05060F;
constexpr double kCornerRadius = 0.2;   // of the icon's size
constexpr double kOrbitRadius = 0.3;    // of the icon's size
constexpr double kBallRadius = 0.14;    // of the icon's size
constexpr double kCoreRadius = 0.14;    // of the icon's size
constexpr double kOrbitTilt = 0.77;     // vertical squash of the orbit

void drawBall(QPainter& painter, QPointF centre, double radius, QColor colour) {
    QRadialGradient glow(centre, radius);
    glow.setColorAt(0.0, Qt::white);
    glow.setColorAt(0.35, colour);
    QColor rim = colour;
    rim.setAlpha(0);
    glow.setColorAt(1.0, rim);
    painter.setBrush(glow);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(centre, radius, radius);
}

QImage drawIcon(int size, bool fullColour) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    const QPointF centre(size / 2.0, size / 2.0);
    QRadialGradient sky(centre, size * 0.7);
    sky.setColorAt(0.0, QColor::fromRgb(kSkyInner));
    sky.setColorAt(1.0, QColor::fromRgb(kSkyOuter));
    painter.setBrush(sky);
    painter.setPen(Qt::NoPen);
    const double corner = size * kCornerRadius;
    painter.drawRoundedRect(QRectF(0, 0, size, size), corner, corner);

    drawBall(painter, centre, size * kCoreRadius, QColor(Qt::white));
    for (std::size_t index = 0; index < kBallColours.size(); ++index) {
        const double angle = 2 * std::numbers::pi * static_cast<double>(index) / kBallColours.size();
        const QPointF at(centre.x() + std::cos(angle) * size * kOrbitRadius,
                         centre.y() + std::sin(angle) * size * kOrbitRadius * kOrbitTilt);
        drawBall(painter, at, size * kBallRadius, QColor::fromRgb(kBallColours[index]));
    }
    painter.end();
    if (fullColour)
        return image;
    return image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::ThresholdAlphaDither);
}

} // namespace

int main(int argc, char* argv[]) {
    const bool fullColour = argc == 3 && std::strcmp(argv[1], "--full-colour") == 0;
    if (argc != (fullColour ? 3 : 2)) {
        std::fprintf(stderr, "usage: %s [--full-colour] output-folder\n", argv[0]);
        return 2;
    }
    for (const int size : kSizes) {
        const QString file = QString::fromLocal8Bit(argv[argc - 1]) + QStringLiteral("/icon%1.png").arg(size);
        if (!drawIcon(size, fullColour).save(file, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
