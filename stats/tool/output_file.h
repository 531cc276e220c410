#pragma once

#include <QIODevice>
#include <QString>
#include <functional>

namespace buffon {

// Output files are written whole or not at all: into a temporary file beside the target,
// which replaces it only once everything is written.

// Tries, before the long work starts, whether `path` can be written, and leaves nothing behind.
// Returns why not, or an empty text.
QString probeOutputFile(const QString& path);

// `write` returns false, after setting `reason`, when it fails part way. Returns why the
// file could not be written, or an empty text.
QString writeOutputFile(const QString& path,
                        const std::function<bool(QIODevice& device, QString& reason)>& write);

}  // namespace buffon
