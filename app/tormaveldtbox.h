#pragma once

#include "childfocuseventfilter.h"

#include <QGroupBox>
#include <QList>
#include <QPointer>

namespace Ui {
class TormaveldtBox;
}

class QLineEdit;

// Input group box whose title doubles as the placeholder text of its line
// edits: while a line edit is empty and unfocused the title stands inside
// it; with the focus or with text the title sits on the box again.
class TormaveldtBox : public QGroupBox
{
    Q_OBJECT

public:
    explicit TormaveldtBox(QWidget *parent = nullptr);
    ~TormaveldtBox() override;

    void setTitleShown(bool show);
    void setChildHasFocus(bool hasFocus);
    const QString &storedTitleText() const { return storedTitle; }
    // Draws a line edit's placeholder in the muted colour of the box's
    // title, so that the title standing in an empty field is not taken for
    // a value (the style sheet colours values only).
    static void mutePlaceholder(QLineEdit *lineEdit);
    bool isInitialised() const { return initialised; }

protected:
    bool eventFilter(QObject *obj, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void hookChild(QObject *child, bool followEveryChange);
    void hookChildLater(QObject *child);

    Ui::TormaveldtBox *ui;
    bool initialised = false;
    QString storedTitle;
    ChildFocusEventFilter focusFilter;
    // Line edits whose text is already followed, so that a second look at
    // the same child does not connect it twice.
    QList<QPointer<QLineEdit>> hookedEdits;
};
