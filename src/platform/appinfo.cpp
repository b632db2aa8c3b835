#include "appinfo.h"

namespace appinfo {
QString Title() { return QStringLiteral("Quarnel ODBC Administrator"); }
int VersionMajor() { return QN_VERSION_MAJOR; }
int VersionMinor() { return QN_VERSION_MINOR; }
int VersionRevision() { return QN_VERSION_PATCH; }
QString Version()
{
    return QStringLiteral("%1.%2.%3").arg(VersionMajor()).arg(VersionMinor()).arg(VersionRevision());
}
QString SupportEmail() { return QStringLiteral(QN_SUPPORT_EMAIL); }
QString SupportWeb() { return QStringLiteral(QN_SUPPORT_WEB); }
} // namespace appinfo
