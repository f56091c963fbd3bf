#pragma once

#include "basewidget.h"

#include <QIcon>
#include <QList>

#include <cstdint>

class QPushButton;

namespace Ui {
class CustomMessageBox;
}

// The tool's own question and message box: a banner icon for the kind of
// message, a title, a text and one button per caption. exec() waits in a
// local event loop and answers the index of the clicked button, or -1 when
// the box was closed. The box hides itself the moment it is answered, and
// only the first answer counts.
class CustomMessageBox : public BaseWidget
{
    Q_OBJECT

public:
    explicit CustomMessageBox(QWidget *parent = nullptr);
    ~CustomMessageBox() override;

    // `kind`: 1 information, 2 attention, 3 error; other values keep the
    // banner icon the box showed before.
    int exec(const QStringList &captions, const QString &title, const QString &message,
             int kind);

    void setTitle(const QString &title);
    void setText(const QString &text);

    // The buttons of the current question, in caption order.
    const QList<QPushButton *> &questionButtons() const { return buttons; }
    QPushButton *closeButton() const;
    QSize bannerIconSize() const;
    QString titleText() const;
    QString messageText() const;

signals:
    void MessageBoxFinished();

public slots:
    void buttonClicked();
    void on_btnClose_clicked();
    void translateUiSlot(QWidget *ptr) override;

private:
    void removeButtons();
    void answer(int index);

    Ui::CustomMessageBox *ui;
    QIcon attentionIcon;
    QIcon errorIcon;
    QIcon infoIcon;
    QList<QPushButton *> buttons;
    int32_t result = -1;
    // True from the box being shown until its first answer.
    bool answering = false;
};
