// The explorer tree's node collection.
#include "cases.h"
#include "tree/cnodes.h"

namespace bench {

Result NodesByPosition(int rows)
{
    CNodes nodes;
    const CNodePtr ds = nodes.Add(static_cast<const CNode *>(nullptr), QStringLiteral("DSN"), QStringLiteral("Bench"));
    const CNodePtr folder = nodes.Add(ds, QStringLiteral("TA"), QStringLiteral("db"));
    for (int i = 0; i < rows; ++i)
        nodes.Add(folder, QStringLiteral("ta"), QStringLiteral("T%1").arg(i));
    // Gaps left by removals, as a collapse leaves them.
    for (int i = 0; i < rows; i += 10)
        nodes.Remove(QStringLiteral("DSN=Bench:TA=db:ta=T%1:").arg(i));

    long walked = 0;
    const double ms = Best([&] {
        walked = 0;
        for (int position = 1; position <= nodes.Count(); ++position)
            walked += nodes.Item(position) ? 1 : 0;
    });
    Result result;
    result.ms = ms;
    result.rows = walked;
    result.figure = walked ? ms * 1000.0 / double(walked) : 0;
    if (walked != nodes.Count())
        result.failure = QStringLiteral("%1 of %2 nodes found").arg(walked).arg(nodes.Count());
    return result;
}

} // namespace bench
