#pragma once

// Readable failure messages for Qt texts in GoogleTest expectations. Every
// test file includes it first (tests/CMakeLists.txt), so that all of a test
// program's files print a QString alike.

#include <QString>
#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }
