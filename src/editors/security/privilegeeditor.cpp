#include "privilegeeditor.h"

#include <QCheckBox>
#include <QLabel>

#include "core/errortrace.h"

using panelook::Twips;

const QStringList &PrivilegeEditor::RightColumns()
{
    static const QStringList columns = {QStringLiteral("ALLOW_SELECT"), QStringLiteral("ALLOW_INSERT"),
                                        QStringLiteral("ALLOW_UPDATE"), QStringLiteral("ALLOW_DELETE")};
    return columns;
}

void PrivilegeEditor::PopulateCombos()
{
    TraceScope trace(TraceName("PopulateCombos"));
    PopulateCombo(QStringLiteral("USER_NAME"), QStringLiteral("SELECT USER_NAME FROM QN_USER ORDER BY USER_NAME ASC"));
}

void PrivilegeEditor::AddRightTwins(int first, const std::function<QRect(int)> &at)
{
    for (int i = 0; i < RightColumns().size(); ++i)
        AddTwin(first + i, RightColumns()[i], at(i));
}

void PrivilegeEditor::AddRights(int firstPrompt, int top, const QString &object)
{
    const QStringList captions = {QStringLiteral("S&ELECT"), QStringLiteral("&INSERT"), QStringLiteral("UP&DATE"),
                                  QStringLiteral("DELE&TE")};
    const QStringList tips = {QStringLiteral("Can the user view this %1?"),
                              QStringLiteral("Can the user add records to this %1?"),
                              QStringLiteral("Can the user change existing data in this %1?"),
                              QStringLiteral("Can the user remove records from this %1?")};
    constexpr int field = 1860, pair = 1200, labelWidth = 825;
    for (int i = 0; i < RightColumns().size(); ++i) {
        const int left = field + i * pair;
        QCheckBox *check = AddCheck(i, RightColumns()[i], {}, Twips(left + labelWidth, top, 255, 255),
                                    tips[i].arg(object));
        AddPrompt(firstPrompt + i, captions[i], Twips(left, top + 15, labelWidth, 255), check);
        chkAllow << check;
    }
}

bool PrivilegeEditor::IsUser(const QString &user)
{
    if (user.isEmpty())
        return false;
    return user == m_shownKey ||
           RowExists(QStringLiteral("SELECT USER_NAME FROM QN_USER WHERE USER_NAME = ") + Quote(user));
}
