#pragma once

#include <QObject>
#include <QRect>
#include <QString>

#include <functional>

class QWidget;

// A tooltip over a widget whose text depends on the point under the mouse: the text a function
// gives for that point, shown while the mouse stays in the area it names; no tooltip where the
// text is empty.
class HoverToolTip : public QObject
{
public:
    struct Tip
    {
        QString Text;
        QRect Area; // in the widget's coordinates
    };
    using TipAt = std::function<Tip(const QPoint &point)>;

    // Installs itself on widget, which owns it.
    HoverToolTip(QWidget *widget, TipAt tipAt);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *widget_;
    TipAt tipAt_;
};
