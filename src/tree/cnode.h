#pragma once

#include <QString>
#include <memory>

// One node of the explorer tree as the rest of the program sees it; made only
// by CNodes. `Key` is the node's NodeKey, `NodeData` the catalog name it stands
// for, `NodeType` its node-type code ("DSN", "FI", "fi", ...; empty for a placeholder).
struct CNode
{
    QString Key;
    QString NodeData;
    QString NodeType;
};

using CNodePtr = std::shared_ptr<CNode>;
