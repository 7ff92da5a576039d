#include "SplashPicture.h"

#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmapCache>
#include <QScreen>

namespace SplashPicture {

QPixmap Draw()
{
    QPixmap pixmap(Width, Height);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, Height);
    sky.setColorAt(0, QColor(0xE8, 0xEE, 0xF4));
    sky.setColorAt(1, QColor(0xB9, 0xC8, 0xD8));
    painter.fillRect(pixmap.rect(), sky);

    // The dark band with the product's name and edition.
    const QRect band(0, 96, Width, 92);
    painter.fillRect(band, QColor(0x1C, 0x2A, 0x3A));
    QFont name(QStringLiteral("Tahoma"));
    name.setStyleHint(QFont::SansSerif);
    name.setPixelSize(44);
    name.setBold(true);
    painter.setFont(name);
    painter.setPen(Qt::white);
    painter.drawText(
        band.adjusted(28, 6, 0, -34), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Brimlet"));
    QFont edition = name;
    edition.setPixelSize(17);
    edition.setBold(false);
    painter.setFont(edition);
    painter.setPen(QColor(0xF2, 0xB1, 0x3C));
    painter.drawText(band.adjusted(30, 58, 0, -6), Qt::AlignLeft | Qt::AlignVCenter,
        QStringLiteral("Zudozazir Edition"));

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
    painter.setFont(maker);
    painter.setPen(QColor(0x1C, 0x2A, 0x3A));
    painter.drawText(logo.adjusted(34, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
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
