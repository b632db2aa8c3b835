#pragma once

#include <QString>

// The application's identity and its configuration values.
namespace appinfo {
QString Title();        // "Quarnel ODBC Administrator"
int VersionMajor();
int VersionMinor();
int VersionRevision();
QString Version();      // "major.minor.revision"
QString SupportEmail(); // the support e-mail address
QString SupportWeb();   // the support web address
} // namespace appinfo
