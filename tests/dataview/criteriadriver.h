#pragma once

// Answers the selection criteria dialog as a user would: marks columns by
// clicking them, picks the condition boxes' entries, types the values and
// presses a button.

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

struct Condition
{
    QString andOr, column, op, value;
};

struct CriteriaAnswer
{
    QStringList marked;        // columns clicked, in this order
    QList<Condition> rows;     // rows 1, 2, ... (an empty andOr leaves the row alone)
    QString button = QStringLiteral("cmdOK");
    bool all = false;          // "&All" clicked first
};

template <class T> T *child(const QWidget &parent, const QString &name)
{
    T *found = parent.findChild<T *>(name);
    EXPECT_TRUE(found) << name.toStdString();
    return found;
}

inline void clickItem(QListWidget *list, const QString &text)
{
    const auto items = list->findItems(text, Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1) << text.toStdString();
    list->scrollToItem(items.first());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(items.first()).center());
}

// Picks the entry `text` of a drop-down box as the mouse would in its list.
inline void pick(QComboBox *box, const QString &text)
{
    const int index = box->findText(text, Qt::MatchExactly);
    ASSERT_GE(index, 0) << box->objectName().toStdString() << ": " << text.toStdString();
    ASSERT_TRUE(box->isEnabled()) << box->objectName().toStdString();
    box->setCurrentIndex(index);
    emit box->activated(index);
}

inline void fillRow(QDialog &dialog, int row, const Condition &c)
{
    const QString n = QString::number(row);
    pick(child<QComboBox>(dialog, QStringLiteral("cboAndOr_") + n), c.andOr);
    if (c.andOr.isEmpty())
        return;
    pick(child<QComboBox>(dialog, QStringLiteral("cboColumn_") + n), c.column);
    pick(child<QComboBox>(dialog, QStringLiteral("cboCriteria_") + n), c.op);
    QLineEdit *value = child<QLineEdit>(dialog, QStringLiteral("txtCriteria_") + n);
    value->clear();
    QTest::keyClicks(value, c.value);
}

// Drives the dialog and returns its result, as the modal loop would.
inline int answerCriteria(QDialog &dialog, const CriteriaAnswer &answer)
{
    dialog.show();
    auto *list = child<QListWidget>(dialog, QStringLiteral("lstColumns"));
    if (answer.all)
        QTest::mouseClick(child<QPushButton>(dialog, QStringLiteral("cmdSelectAll")), Qt::LeftButton);
    for (const QString &column : answer.marked)
        clickItem(list, column);
    for (int row = 0; row < answer.rows.size(); ++row)
        if (!answer.rows[row].andOr.isEmpty())
            fillRow(dialog, row, answer.rows[row]);
    if (answer.button == QLatin1String("Escape"))
        QTest::keyClick(&dialog, Qt::Key_Escape);
    else
        QTest::mouseClick(child<QPushButton>(dialog, answer.button), Qt::LeftButton);
    dialog.hide();
    return dialog.result();
}
