#pragma once

#include <QIcon>
#include <QString>

namespace buffon {

// The images built into the program.
QString emblemResource();
QIcon programIcon();

}  // namespace buffon
