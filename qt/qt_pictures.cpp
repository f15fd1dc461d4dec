#include "qt/qt_pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "core/product_identity.h"

namespace vantic {

namespace {

const QColor kNight(0x0B, 0x1E, 0x3F);
const QColor kSea(0x0E, 0x5A, 0x7E);
const QColor kTeal(0x1F, 0xA3, 0x9A);
const QColor kAmber(0xF2, 0xA9, 0x3B);
const QColor kPaper(0xF4, 0xF7, 0xFA);

QFont SansFont(int pixelSize, QFont::Weight weight) {
    QFont font;
    font.setFamilies({"DejaVu Sans", "Nimbus Sans", "Sans Serif"});
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    return font;
}

void PaintBackground(QPainter& painter, const QRect& area) {
    QLinearGradient sky(area.topLeft(), area.topRight());
    sky.setColorAt(0.0, kNight);
    sky.setColorAt(0.55, kSea);
    sky.setColorAt(1.0, kTeal);
    painter.fillRect(area, sky);
    // A soft glow behind the screen motif.
    QRadialGradient glow(QPointF(area.height() * 0.9, area.height() * 0.5), area.height() * 0.9);
    glow.setColorAt(0.0, QColor(255, 255, 255, 46));
    glow.setColorAt(1.0, QColor(255, 255, 255, 0));
    painter.fillRect(area, glow);
}

// A display on a stand with a play mark, and signal arcs to its right:
// a media player on the network. `box` is the motif's square.
void PaintSignMotif(QPainter& painter, const QRectF& box) {
    const qreal unit = box.width() / 10.0;
    const QRectF screen(box.left(), box.top() + unit, unit * 7.2, unit * 5.0);
    painter.setPen(QPen(kPaper, unit * 0.35));
    painter.setBrush(QColor(0x08, 0x14, 0x2B));
    painter.drawRoundedRect(screen, unit * 0.5, unit * 0.5);

    // Three content bars, the way a playlist fills the screen.
    const QRectF inner = screen.adjusted(unit * 0.8, unit * 0.8, -unit * 0.8, -unit * 0.8);
    painter.setPen(Qt::NoPen);
    const QColor bars[] = {kAmber, kTeal, QColor(0x6F, 0xB7, 0xE9)};
    for (int i = 0; i < 3; ++i) {
        const qreal h = inner.height() / 5.0;
        painter.setBrush(bars[i]);
        painter.drawRoundedRect(QRectF(inner.left() + unit * 1.9, inner.top() + i * h * 1.9,
                                       inner.width() - unit * 1.9 - i * unit * 0.9, h),
                                h / 2, h / 2);
    }
    QPainterPath play;
    play.moveTo(inner.left(), inner.top());
    play.lineTo(inner.left() + unit * 1.3, inner.center().y());
    play.lineTo(inner.left(), inner.bottom());
    play.closeSubpath();
    painter.setBrush(kPaper);
    painter.drawPath(play);

    // The stand.
    const qreal midX = screen.center().x();
    painter.setBrush(kPaper);
    painter.drawRect(QRectF(midX - unit * 0.3, screen.bottom(), unit * 0.6, unit * 1.4));
    painter.drawRoundedRect(
        QRectF(midX - unit * 1.6, screen.bottom() + unit * 1.3, unit * 3.2, unit * 0.5),
        unit * 0.25, unit * 0.25);

    // Signal arcs from the screen's top right corner.
    painter.setBrush(Qt::NoBrush);
    const QPointF origin(screen.right() + unit * 0.4, screen.top() + unit * 0.4);
    for (int i = 1; i <= 3; ++i) {
        const qreal r = unit * 0.8 * i;
        painter.setPen(
            QPen(QColor(255, 255, 255, 255 - i * 50), unit * 0.35, Qt::SolidLine, Qt::RoundCap));
        painter.drawArc(QRectF(origin.x() - r, origin.y() - r, 2 * r, 2 * r), 0 * 16, 90 * 16);
    }
}

// An image of size (in logical pixels) for a screen of that pixel ratio:
// painted in logical coordinates, sharp on a scaled screen.
QImage Canvas(QSize size, qreal ratio) {
    QImage image(size * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    return image;
}

QImage PaintSplash(qreal ratio) {
    const QRect area(0, 0, 1342, 250);
    QImage image = Canvas(area.size(), ratio);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    PaintBackground(painter, area);
    PaintSignMotif(painter, QRectF(64, 40, 180, 180));

    painter.setPen(kPaper);
    painter.setFont(SansFont(84, QFont::Bold));
    painter.drawText(QRect(300, 30, 1000, 110), Qt::AlignLeft | Qt::AlignBottom,
                     QString::fromLatin1(identity::kProductName));
    painter.setPen(QColor(0xCF, 0xE6, 0xF0));
    painter.setFont(SansFont(30, QFont::Normal));
    painter.drawText(QRect(304, 142, 1000, 44), Qt::AlignLeft | Qt::AlignVCenter,
                     "Playlists, deployment and status for your media players");
    // An amber rule under the name, and the version and maker at the foot.
    painter.fillRect(QRect(304, 136, 120, 5), kAmber);
    painter.setPen(kPaper);
    painter.setFont(SansFont(22, QFont::DemiBold));
    painter.drawText(QRect(304, 196, 600, 34), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Version ") + QString::fromLatin1(identity::kVersion));
    painter.setFont(SansFont(20, QFont::Normal));
    painter.drawText(QRect(700, 196, 600, 34), Qt::AlignRight | Qt::AlignVCenter,
                     QString::fromLatin1(identity::kMakerName));
    return image;
}

QImage PaintAboutBanner(qreal ratio) {
    const QRect area(0, 0, 360, 67);
    QImage image = Canvas(area.size(), ratio);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    PaintBackground(painter, area);
    PaintSignMotif(painter, QRectF(12, 6, 56, 56));
    painter.setPen(kPaper);
    painter.setFont(SansFont(25, QFont::Bold));
    painter.drawText(QRect(84, 6, 270, 36), Qt::AlignLeft | Qt::AlignVCenter,
                     QString::fromLatin1(identity::kProductName));
    painter.fillRect(QRect(86, 42, 36, 3), kAmber);
    painter.setFont(SansFont(12, QFont::Normal));
    painter.setPen(QColor(0xCF, 0xE6, 0xF0));
    painter.drawText(QRect(130, 36, 224, 16), Qt::AlignLeft | Qt::AlignVCenter,
                     "digital signage control");
    return image;
}

}  // namespace

QImage PaintPicture(int pictureId, qreal ratio) {
    switch (pictureId) {
        case picture::kSplash:
            return PaintSplash(ratio);
        case picture::kAbout:
            return PaintAboutBanner(ratio);
        default:
            return {};
    }
}

QImage PaintIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    QPainterPath tile;
    tile.addRoundedRect(QRectF(s * 0.03, s * 0.03, s * 0.94, s * 0.94), s * 0.2, s * 0.2);
    painter.setClipPath(tile);
    PaintBackground(painter, image.rect());
    painter.setClipping(false);
    PaintSignMotif(painter, QRectF(s * 0.14, s * 0.12, s * 0.72, s * 0.72));
    return image;
}

QImage ImageOf(const BitmapSurface& surface) {
    return ImageOf(PixelView{surface.Pixels().data(), surface.Width(), surface.Height()}).copy();
}

QImage ImageOf(const PixelView& pixels) {
    if (pixels.pixels == nullptr || pixels.width <= 0 || pixels.height <= 0) {
        return {};
    }
    return QImage(reinterpret_cast<const uchar*>(pixels.pixels), pixels.width, pixels.height,
                  static_cast<qsizetype>(pixels.width) * 4, QImage::Format_RGB32);
}

ScreenPixels PixelsOf(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    ScreenPixels read{rgb.width(), rgb.height(), {}};
    read.pixels.reserve(static_cast<std::size_t>(rgb.width()) * rgb.height());
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            read.pixels.push_back(row[x] & 0xFFFFFFu);
        }
    }
    return read;
}

bool QtPictures::Load(int pictureId, BitmapSurface& into) {
    const QImage image = PaintPicture(pictureId).convertToFormat(QImage::Format_RGB32);
    if (image.isNull()) {
        return false;
    }
    into.Resize(image.width(), image.height());
    if (into.Width() != image.width() || into.Height() != image.height()) {
        return false;
    }
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            into.SetPixel(x, y, row[x] & 0xFFFFFFu);
        }
    }
    return true;
}

}  // namespace vantic
