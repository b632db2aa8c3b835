#pragma once

#include <functional>

#include "editors/editorframe.h"

class QCheckBox;

// What the database and table privilege editors share: the list of the data
// source's users, a user that must be one of them, and the four rights
// (ALLOW_SELECT, ALLOW_INSERT, ALLOW_UPDATE, ALLOW_DELETE) as labelled check
// boxes with their twins.
class PrivilegeEditor : public EditorFrame
{
    Q_OBJECT
public:
    // Every user of the data source, by name, in the USER_NAME combo.
    void PopulateCombos() override;

    QList<QCheckBox *> chkAllow; // chkProperty_0..3, in the order of RightColumns()

    static const QStringList &RightColumns();

protected:
    using EditorFrame::EditorFrame;

    // The twins txtProperty_<first>.. of the rights, at(i) placing the i-th.
    void AddRightTwins(int first, const std::function<QRect(int)> &at);
    // The check boxes in one row at `top` twips, each after its label
    // lblPrompt_<firstPrompt>..; the tips ask about `object` ("Database").
    void AddRights(int firstPrompt, int top, const QString &object);
    // A privilege's user: not empty, and one of the data source's users unless
    // it is the row's own (a stored row may name a user that has gone).
    bool IsUser(const QString &user);
};
