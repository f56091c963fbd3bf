#include "tormaveldtbox.h"

#include "ui_tormaveldtbox.h"

#include <QEvent>
#include <QLineEdit>
#include <QPalette>
#include <QStyle>

TormaveldtBox::TormaveldtBox(QWidget *parent)
    : QGroupBox(parent)
    , ui(new Ui::TormaveldtBox)
    , focusFilter(this)
{
    ui->setupUi(this);
    initialised = false;
    setProperty("childHasFocus", false);
    installEventFilter(this);
}

TormaveldtBox::~TormaveldtBox()
{
    delete ui;
}

void TormaveldtBox::setTitleShown(bool show)
{
    setTitle(show ? storedTitle : QString());
}

void TormaveldtBox::setChildHasFocus(bool hasFocus)
{
    setProperty("childHasFocus", hasFocus);
    style()->unpolish(this);
    style()->polish(this);
}

void TormaveldtBox::mutePlaceholder(QLineEdit *lineEdit)
{
    // The group box title's colour of the style sheet (ColorTextGroupBox).
    static const QColor muted(0x9C, 0xA2, 0xA5);
    QPalette palette = lineEdit->palette();
    if (palette.color(QPalette::PlaceholderText) == muted)
        return;
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::PlaceholderText, muted);
    lineEdit->setPalette(palette);
}

void TormaveldtBox::hookChild(QObject *child, bool followEveryChange)
{
    child->removeEventFilter(&focusFilter);
    child->installEventFilter(&focusFilter);
    auto *lineEdit = qobject_cast<QLineEdit *>(child);
    if (!lineEdit)
        return;
    lineEdit->setPlaceholderText(storedTitle);
    mutePlaceholder(lineEdit);
    if (hookedEdits.contains(lineEdit)) {
        // Already followed; only the title may need blanking below.
    } else if (followEveryChange) {
        // Line edits added after the first paint show the title exactly
        // while they hold text.
        connect(lineEdit, &QLineEdit::textChanged, lineEdit,
                [this](const QString &text) { setTitleShown(!text.isEmpty()); },
                Qt::DirectConnection);
    } else {
        // Line edits present at the first paint only bring a blanked title
        // back; blanking again waits for the next focus loss.
        connect(lineEdit, &QLineEdit::textChanged, lineEdit,
                [this](const QString &text) {
                    if (title().isEmpty() && !text.isEmpty())
                        setTitleShown(true);
                },
                Qt::DirectConnection);
    }
    hookedEdits.append(lineEdit);
    if (lineEdit->text().isEmpty())
        setTitle(QString());
}

bool TormaveldtBox::eventFilter(QObject *obj, QEvent *event)
{
    if (event && obj == this) {
        if (!initialised && event->type() == QEvent::Paint) {
            storedTitle = title();
            setTitle(storedTitle);
            const QObjectList kids = children();
            for (QObject *child : kids)
                hookChild(child, false);
            initialised = true;
        } else if (initialised && event->type() == QEvent::ChildAdded) {
            auto *added = static_cast<QChildEvent *>(event)->child();
            if (added) {
                setTitle(storedTitle);
                hookChild(added, true);
                hookChildLater(added);
            }
        }
    }
    return QGroupBox::eventFilter(obj, event);
}

void TormaveldtBox::hookChildLater(QObject *child)
{
    // A widget created with the box as its parent announces itself from
    // inside its QWidget constructor, before it is a QLineEdit; look at it
    // again once it is fully built.
    if (!child->isWidgetType() || qobject_cast<QLineEdit *>(child))
        return;
    QPointer<QObject> later(child);
    QMetaObject::invokeMethod(
        this,
        [this, later] {
            if (later && later->parent() == this && qobject_cast<QLineEdit *>(later.data()))
                hookChild(later.data(), true);
        },
        Qt::QueuedConnection);
}

void TormaveldtBox::changeEvent(QEvent *event)
{
    QGroupBox::changeEvent(event);
    if (event && event->type() == QEvent::LanguageChange) {
        storedTitle = title();
        setTitle(storedTitle);
    }
}
