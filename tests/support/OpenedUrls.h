#pragma once

#include <QList>
#include <QObject>
#include <QUrl>

namespace sorvane::test {

// Stands in for the desktop: records the URLs it is asked to open. A test
// makes it the handler of "file" URLs (QDesktopServices::setUrlHandler with
// the method "Open") so that no program is started.
class OpenedUrls : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
    Q_INVOKABLE void Open(const QUrl& url) { urls.append(url); }
};

}  // namespace sorvane::test
