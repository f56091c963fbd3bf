#pragma once

#include "basewidget.h"
#include "notificationentry.h"

#include <QMutex>
#include <QPointer>
#include <QTimer>
#include <QVector>

class QLabel;

namespace Ui {
class NotificationBar;
}

// The strip under the main window's top bar that shows the pages' short
// messages. Entries form a stack: the newest is shown; when it goes, the one
// below comes back. Success entries go by themselves after their time, error
// entries stay until confirmed. A message longer than a line or two wraps,
// and the bar grows to show it whole as far as the window has room.
class NotificationBar : public BaseWidget
{
    Q_OBJECT

public:
    explicit NotificationBar(QWidget *parent = nullptr);
    ~NotificationBar() override;

    void showError(const QString &message, bool sendErrorReset, bool showGoToLog);
    void showSuccess(const QString &message, uint32_t timeMs);

    // Takes every entry of this text off the bar: a warning whose cause is
    // over must not stay to be confirmed. The newest remaining entry shows.
    void withdraw(const QString &message);

    int entryCount() const;
    // The entry on screen; a default entry when the bar is empty.
    NotificationEntry currentEntry() const;
    bool timerActive() const { return timer.isActive(); }
    int timerInterval() const { return timer.interval(); }
    // 42 px times the scale high, or as high as the shown entry's lines
    // need (at most half the page it lies in).
    QSize sizeHint() const override;
    // The wrapped label would make the bar's height follow its width in a
    // layout, as much as the text needs: the bar asks through its size hint
    // instead, so that the layout may give it less.
    bool hasHeightForWidth() const override { return false; }

signals:
    void sendErrorReset();
    void goToLog();

public slots:
    void ScaleFactorChange(double factor) override;
    void translateUiSlot(QWidget *ptr) override;
    void timerTimeout();
    void on_btnConfirm_clicked();
    void on_btnGotToLog_clicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel *shownLabel() const;
    // The height that shows the shown entry's text whole at its width.
    int wholeTextHeight() const;
    // The most the bar asks for: half the page it lies in.
    int highestAllowed() const;
    // The most the bar may insist on without making its page taller.
    int roomBeside() const;
    // The height the bar asks for with the entry shown.
    void fitHeight();
    void pushEntry(const NotificationEntry &entry);
    void showEntry(const NotificationEntry &entry);
    // Shows the newest entry left, or hides the bar when none is.
    void showTopEntry();
    void dismissCurrentEntry();

    Ui::NotificationBar *ui;
    QVector<NotificationEntry> entries;
    // Guards `entries`. It is never held while a signal is emitted: the
    // receiver of sendErrorReset runs a device request in a nested event
    // loop, from which new notifications may arrive.
    mutable QMutex mutex;
    QTimer timer;
    int baseHeight = 42;
    int padding = 2;
    QPointer<QWidget> watchedParent;
};
