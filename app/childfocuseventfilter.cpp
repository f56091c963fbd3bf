#include "childfocuseventfilter.h"

#include "tormaveldtbox.h"

#include <QEvent>
#include <QLineEdit>

ChildFocusEventFilter::ChildFocusEventFilter(TormaveldtBox *box)
    : box(box)
{
}

bool ChildFocusEventFilter::eventFilter(QObject *child, QEvent *event)
{
    if (!event)
        return false;
    auto *lineEdit = qobject_cast<QLineEdit *>(child);
    if (event->type() == QEvent::FocusIn) {
        box->setChildHasFocus(true);
        box->setTitleShown(true);
        if (lineEdit)
            lineEdit->setPlaceholderText(QString());
    } else if (event->type() == QEvent::FocusOut) {
        box->setChildHasFocus(false);
        box->setTitleShown(true);
        if (lineEdit) {
            lineEdit->setPlaceholderText(box->storedTitleText());
            TormaveldtBox::mutePlaceholder(lineEdit);
            if (lineEdit->text().isEmpty())
                box->setTitleShown(false);
        }
    }
    return false;
}
