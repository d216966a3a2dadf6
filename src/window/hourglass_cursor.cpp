#include "window/hourglass_cursor.h"

#include <QApplication>
#include <QCursor>

namespace qor::window {

HourglassCursor::HourglassCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }

HourglassCursor::~HourglassCursor() { QApplication::restoreOverrideCursor(); }

}  // namespace qor::window
