#pragma once

// Qt texts in GoogleTest messages as text (a QStringList prints element by
// element). Include it before GoogleTest's headers.

#include <QString>
#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }
