#include "WindowFont.h"

#include <QFontDatabase>

namespace {

QFont Tahoma()
{
    QFont font(QStringLiteral("Tahoma"));
    font.setStyleHint(QFont::SansSerif);
    return font;
}

} // namespace

QFont WindowFont()
{
    QFont font = Tahoma();
    font.setPixelSize(11);
    return font;
}

QFont RawDataFont()
{
    return QFontDatabase::systemFont(QFontDatabase::FixedFont);
}
