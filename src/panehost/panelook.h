#pragma once

// Building blocks of the small panes (Welcome, About, Options, Data Source):
// twips geometry, the grey title strip with the pane icon and the embossed
// title made of two offset labels.

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QPixmap>
#include <QRect>

namespace panelook {

// A rectangle given in twips, in pixels.
QRect Twips(int left, int top, int width, int height);
// The default sans-serif font at `points`.
QFont Font(double points, bool bold = false, bool italic = false);
// A colour of the system palette.
QColor System(QPalette::ColorRole role);
// The program's 32 x 32 icon and its logo.
QPixmap Icon();
QPixmap Logo(const QSize &size);
// Gives `widget` a filled background of `colour`.
void SetBackground(QWidget *widget, const QColor &colour);
void SetTextColour(QWidget *widget, const QColor &colour);

// The corner picture `imgCorner` of `pane`, top left below the title strip;
// the pane look (modGUI::ApplyFormStyle) gives it its picture.
QLabel *CornerImage(QWidget *pane);

// The title strip: a box in the button-shadow colour across the top of `pane`
// (its width follows the pane) holding the icon `imgIcon`.
QWidget *TitleStrip(QWidget *pane, int heightTwips);

// The shadow copy of an embossed title: always shows its source's text.
class ShadowLabel : public QLabel
{
public:
    ShadowLabel(QLabel *source, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QLabel *m_source;
};

// The two labels of an embossed title, `<name>_0` in the 3-D highlight colour
// and `<name>_1` in the dark-shadow colour 30 twips right of and below it, on top.
struct EmbossedTitle
{
    QLabel *title = nullptr;
    ShadowLabel *shadow = nullptr;
    void setText(const QString &text);
};
EmbossedTitle MakeTitle(QWidget *parent, const QString &name, const QString &text, const QFont &font,
                        const QRect &geometry, bool sizeToText);

} // namespace panelook
