/* Stand-in engine driver: forwards everything to the SQLite ODBC driver, but
 * drops the DATABASE attribute from a connect text so that the data source's
 * own Database entry (its SQLite file) is opened. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>
#include <sql.h>
#include <sqlext.h>

typedef SQLRETURN (*DriverConnectFn)(SQLHDBC, SQLHWND, SQLCHAR *, SQLSMALLINT, SQLCHAR *, SQLSMALLINT,
                                     SQLSMALLINT *, SQLUSMALLINT);

static DriverConnectFn real_driver_connect(void)
{
    static DriverConnectFn fn;
    if (!fn) {
        /* The SQLite driver is already loaded as this library's dependency;
         * its full path finds it whoever intercepts dlopen. */
        void *lib = dlopen(QN_SQLITE_ODBC_DRIVER, RTLD_LAZY | RTLD_NOLOAD);
        if (lib)
            fn = (DriverConnectFn)dlsym(lib, "SQLDriverConnect");
        if (!fn)
            fn = (DriverConnectFn)dlsym(RTLD_NEXT, "SQLDriverConnect");
    }
    return fn;
}

/* Copies the attributes of `in` (length `len`) to `out`, leaving out DATABASE=...
 * A value in braces may hold semicolons. */
static void drop_database_attr(const char *in, size_t len, char *out)
{
    size_t i = 0, o = 0;
    while (i < len) {
        size_t start = i;
        int braces = 0;
        while (i < len && (braces || in[i] != ';')) {
            if (in[i] == '{')
                braces = 1;
            else if (in[i] == '}')
                braces = 0;
            ++i;
        }
        size_t end = i; /* attribute is in[start, end) */
        if (i < len)
            ++i; /* skip ';' */
        const char *a = in + start;
        size_t alen = end - start;
        while (alen && *a == ' ') {
            ++a;
            --alen;
        }
        if (alen == 0 || (alen >= 9 && strncasecmp(a, "DATABASE=", 9) == 0))
            continue;
        if (o)
            out[o++] = ';';
        memcpy(out + o, a, alen);
        o += alen;
    }
    out[o] = 0;
}

SQLRETURN SQL_API SQLDriverConnect(SQLHDBC hdbc, SQLHWND hwnd, SQLCHAR *connIn, SQLSMALLINT connInLen,
                                   SQLCHAR *connOut, SQLSMALLINT connOutMax, SQLSMALLINT *connOutLen,
                                   SQLUSMALLINT completion)
{
    DriverConnectFn fn = real_driver_connect();
    if (!fn)
        return SQL_ERROR;
    if (!connIn)
        return fn(hdbc, hwnd, connIn, connInLen, connOut, connOutMax, connOutLen, completion);
    size_t len = connInLen == SQL_NTS ? strlen((const char *)connIn) : (size_t)connInLen;
    char *filtered = malloc(len + 1);
    if (!filtered)
        return SQL_ERROR;
    drop_database_attr((const char *)connIn, len, filtered);
    SQLRETURN rc = fn(hdbc, hwnd, (SQLCHAR *)filtered, SQL_NTS, connOut, connOutMax, connOutLen, completion);
    free(filtered);
    return rc;
}
