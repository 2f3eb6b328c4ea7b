#include "app/file_uri.h"

#include <QByteArray>

namespace tunekist {

std::optional<std::string> LocalPathOf(const QUrl& url) {
    if (!url.isValid() || url.scheme() != QLatin1String("file")) return std::nullopt;
    const QString encoded = url.path(QUrl::FullyEncoded);
    if (encoded.isEmpty()) return std::nullopt;
    return QByteArray::fromPercentEncoding(encoded.toLatin1()).toStdString();
}

}  // namespace tunekist
