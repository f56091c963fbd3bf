#pragma once

#include <QMessageBox>
#include <QStringList>
#include <QWidget>

#include <cstdint>

// Base of every page, bar and dialog: styled by the tool's style sheet,
// re-texts itself on a language change and reports results through wrapper
// signals that the main window turns into notifications or message boxes.
class BaseWidget : public QWidget
{
    Q_OBJECT

public:
    explicit BaseWidget(QWidget *parent = nullptr);
    ~BaseWidget() override = default;

    // Kind 0 or 1 gives a success entry of 3000 ms; any other kind an error
    // entry that carries `sendErrorReset` and `showGoToLog`.
    void printNotification(const QString &message, bool showGoToLog, QMessageBox::Icon kind,
                           bool sendErrorReset);
    // Takes a message this widget printed off the notification bar again,
    // once what it said no longer holds.
    void withdrawNotification(const QString &message);

    // Forwards the child's message signals to the same signals of `parent`;
    // the message box request, which carries its answer pointer, only as a
    // direct call between widgets of one thread.
    static void connectWrapperSignals(BaseWidget *child, BaseWidget *parent);

    // True only while the widget re-texts itself after a language change;
    // edit slots return at once while it is set.
    bool translationInProgress = false;

public slots:
    virtual void ScaleFactorChange(double factor);
    virtual void translateUiSlot(QWidget *ptr) = 0;
    void polishWidget(QWidget *ptr);

signals:
    void printMessageboxwrapper(QStringList names, QString title, QString message,
                                QMessageBox::Icon iconsel, int32_t *retptr = nullptr);
    void printNotifyBarErrorwrapper(QString message, bool sendErrorReset, bool showGoToLog);
    void printNotifyBarSuccesswrapper(QString message, uint32_t time = 3000);
    void withdrawNotifyBarwrapper(QString message);
    void translateUiSignal(QWidget *ptr);

protected:
    void changeEvent(QEvent *event) override;
};
