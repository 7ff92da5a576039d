#include "ProductInfo.h"

#include <QFile>

namespace ProductInfo {

QUrl ProductPageUrl()
{
    return QUrl(QLatin1String(ProductPageAddress));
}

QUrl MakerPageUrl()
{
    return QUrl(QLatin1String(MakerPageAddress));
}

QUrl ManualUrl(const QString &applicationDir)
{
    return QUrl::fromLocalFile(applicationDir + u'/' + QLatin1String(ManualFileName));
}

QString LicenseText()
{
    QFile file(QStringLiteral(":/brimlet/License.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return QString(); // the text is built in; it is there in every build
    return QString::fromUtf8(file.readAll());
}

} // namespace ProductInfo
