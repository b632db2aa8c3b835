#include "frmcsvimport.h"

#include "core/errortrace.h"
#include "frmcsvvalidate.h"
#include "panehost/forms.h"
#include "ui.h"

[[maybe_unused]] static const bool declared = forms::Declare<frmCSVImport>(QStringLiteral("frmCSVImport"));

frmCSVImport::frmCSVImport()
    : CatalogPane(QStringLiteral("frmCSVImport"), QStringLiteral("Import Catalog"), QStringLiteral("&Import"))
{
    m_quietWithoutObject = true;
}

bool frmCSVImport::ImportCSV(const QString &) { return false; }

void frmCSVImport::cmdAction_Click()
{
    ErrorHandler handler(QStringLiteral("frmCSVImport.cmdAction_Click"));
    std::optional<QString> chosen;
    handler.step([&] {
        chosen = Ui().GetOpenFileName(QStringLiteral("Select the CSV file to import..."), QString(),
                                      QStringLiteral("CSV File (*.csv)|*.csv|Text File (*.txt)|*.txt|All Files "
                                                     "(*.*)|*.*"));
    });
    if (!chosen || !m_db)
        return;
    const QString file = WithDefaultExtension(*chosen);
    handler.step([&] { frmCSVValidate::Validate(m_db->Name(), file); });
}
