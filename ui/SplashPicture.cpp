#include "SplashPicture.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmapCache>
#include <QScreen>

namespace SplashPicture {

QFont FitFont(QFont font, const QString &text, const QSize &room)
{
    // Pixel sizes: the picture is laid out in its own pixels, whatever the screen's resolution.
    for (int size = font.pixelSize(); size > MinimumTextSize; --size) {
        font.setPixelSize(size);
        const QFontMetrics metrics(font);
        if (metrics.horizontalAdvance(text) <= room.width() && metrics.height() <= room.height())
            return font;
    }
    font.setPixelSize(MinimumTextSize);
    return font;
}

namespace {

// Draws text in rect with the largest font up to font's size that fits it whole.
void DrawFitted(QPainter &painter, const QRect &rect, const QFont &font, const QString &text)
{
    painter.setFont(FitFont(font, text, rect.size()));
    painter.drawText(rect, Qt::AlignLeft | Qt::AlignVCenter, text);
}

} // namespace

QPixmap Draw()
{
    // Drawn at the screen's resolution, so that the text stays sharp on a dense screen.
    const QScreen *screen = QGuiApplication::primaryScreen();
    const qreal ratio = screen ? screen->devicePixelRatio() : 1.0;
    QPixmap pixmap(QSize(Width, Height) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, Height);
    sky.setColorAt(0, QColor(0xE8, 0xEE, 0xF4));
    sky.setColorAt(1, QColor(0xB9, 0xC8, 0xD8));
    painter.fillRect(QRect(0, 0, Width, Height), sky);

    // The dark band with the product's name and edition.
    const QRect band(0, 96, Width, 92);
    painter.fillRect(band, QColor(0x1C, 0x2A, 0x3A));
    QFont name(QStringLiteral("Tahoma"));
    name.setStyleHint(QFont::SansSerif);
    name.setPixelSize(44);
    name.setBold(true);
    painter.setPen(Qt::white);
    DrawFitted(painter, band.adjusted(28, 6, -28, -34), name, QStringLiteral("Brimlet"));
    QFont edition = name;
    edition.setPixelSize(17);
    edition.setBold(false);
    painter.setPen(QColor(0xF2, 0xB1, 0x3C));
    DrawFitted(
        painter, band.adjusted(30, 58, -28, -6), edition, QStringLiteral("Zudozazir Edition"));

    // The maker's logo: a small stacked-segments mark and the maker's name.
    const QRect logo(372, 222, 112, 40);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 3; ++i) {
        painter.setBrush(QColor(0x1C, 0x2A, 0x3A, 255 - 60 * i));
        painter.drawRoundedRect(QRectF(logo.left(), logo.top() + 4 + 11 * i, 26 - 6 * i, 8), 2, 2);
    }
    QFont maker = edition;
    maker.setPixelSize(13);
    maker.setBold(true);
    painter.setPen(QColor(0x1C, 0x2A, 0x3A));
    // The name may run on to the picture's right margin, past the mark's box.
    DrawFitted(painter,
        QRect(logo.left() + 34, logo.top(), Width - 10 - (logo.left() + 34), logo.height()), maker,
        QStringLiteral("Brimlet Works"));
    painter.end();
    return pixmap;
}

void Show(QWidget *window, QLabel *image)
{
    static const QString key = QStringLiteral("brimlet-splash-picture");
    QPixmap picture;
    if (!QPixmapCache::find(key, &picture)) {
        picture = Draw();
        QPixmapCache::insert(key, picture);
    }
    window->setFixedSize(Width, Height);
    image->setPixmap(picture);
    image->setGeometry(0, 0, Width, Height);
    image->setAccessibleName(QStringLiteral("Brimlet Zudozazir Edition"));
}

void CentreOnPrimaryScreen(QWidget *window)
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        window->move(screen->availableGeometry().center() - window->rect().center());
}

} // namespace SplashPicture
