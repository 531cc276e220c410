#include "stats/tool/output_file.h"

#include <QSaveFile>

namespace buffon {

QString probeOutputFile(const QString& path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return file.errorString();
    }
    file.cancelWriting();
    return {};
}

QString writeOutputFile(const QString& path,
                        const std::function<bool(QIODevice& device, QString& reason)>& write)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return file.errorString();
    }
    QString reason;
    if (!write(file, reason)) {
        file.cancelWriting();
        return reason.isEmpty() ? file.errorString() : reason;
    }
    if (!file.commit()) {
        return file.errorString();
    }
    return {};
}

}  // namespace buffon
