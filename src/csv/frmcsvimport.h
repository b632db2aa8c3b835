#pragma once

#include "catalogpane.h"

// The catalog import pane: "&Import" asks for a catalog file and opens the
// validation dialog on it for the data source shown.
class frmCSVImport : public CatalogPane
{
    Q_OBJECT
public:
    frmCSVImport();
    // Does nothing; false.
    bool ImportCSV(const QString &Filename);

protected:
    QString Title(const QString &) const override { return QStringLiteral("Import Catalog"); }
    void cmdAction_Click() override;
};
