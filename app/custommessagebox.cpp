#include "custommessagebox.h"

#include "scalinghandlercont.h"
#include "ui_custommessagebox.h"
#include "waitguard.h"

#include <QDebug>
#include <QEventLoop>
#include <QPushButton>
#include <QStyle>

#include <cmath>

CustomMessageBox::CustomMessageBox(QWidget *parent)
    : BaseWidget(parent)
    , ui(new Ui::CustomMessageBox)
{
    ui->setupUi(this);
    result = -1;
    setVisible(false);
    ScalingHandlerCont::instance()->scaleLayout(this);
    // The close mark keeps the size the style gives it, times the factor.
    const int mark = static_cast<int>(std::lround(style()->pixelMetric(QStyle::PM_ButtonIconSize, nullptr, ui->btnClose)
                                                  * ScalingHandlerCont::instance()->getScaleFactor()));
    ui->btnClose->setIconSize(QSize(mark, mark));
    attentionIcon = QIcon(QStringLiteral(":/res/attention.svg"));
    errorIcon = QIcon(QStringLiteral(":/res/icon_error.svg"));
    infoIcon = QIcon(QStringLiteral(":/res/icon_info.svg"));
}

CustomMessageBox::~CustomMessageBox()
{
    removeButtons();
    delete ui;
}

void CustomMessageBox::removeButtons()
{
    while (!buttons.isEmpty()) {
        QPushButton *button = buttons.takeLast();
        ui->btnLayout->removeWidget(button);
        disconnect(button, &QPushButton::clicked, this, &CustomMessageBox::buttonClicked);
        delete button;
    }
}

int CustomMessageBox::exec(const QStringList &captions, const QString &title,
                           const QString &message, int kind)
{
    removeButtons();

    switch (kind) {
    case QMessageBox::Warning:
        ui->btnIcon->setIcon(attentionIcon);
        break;
    case QMessageBox::Critical:
        ui->btnIcon->setIcon(errorIcon);
        break;
    case QMessageBox::Information:
        ui->btnIcon->setIcon(infoIcon);
        break;
    default:
        break;
    }

    const int s = static_cast<int>(
        std::lround(100.0 * ScalingHandlerCont::instance()->getScaleFactor()));
    ui->btnIcon->setIconSize(QSize(s, s));

    const QString last = captions.isEmpty() ? QString() : captions.last();
    for (const QString &caption : captions) {
        auto *button = new QPushButton(caption, ui->widget);
        const bool primary = caption == last;
        button->setProperty("isPrimaryButton", primary);
        button->setProperty("isHover", !primary);
        buttons.append(button);
        connect(button, &QPushButton::clicked, this, &CustomMessageBox::buttonClicked);
        ui->btnLayout->addWidget(button);
    }

    ui->lblTitle->setText(title);
    ui->lblText->setText(message);

    result = -1;
    answering = true;
    ui->btnClose->setEnabled(true);
    setVisible(true);
    QEventLoop loop;
    const WaitGuard guard(this);
    connect(this, &CustomMessageBox::MessageBoxFinished, &loop, &QEventLoop::quit);
    guard.endWith(loop);
    loop.exec();
    // Deleted while it waited: no button was chosen.
    if (!guard)
        return -1;
    answering = false;
    setVisible(false);
    return result;
}

void CustomMessageBox::buttonClicked()
{
    qDebug() << "Button clicked";
    auto *button = qobject_cast<QPushButton *>(sender());
    const int index = button ? buttons.indexOf(button) : -1;
    if (index < 0) {
        qDebug() << "unknown button";
        return;
    }
    qDebug() << "Button Text: " << button->text();
    answer(index);
}

void CustomMessageBox::on_btnClose_clicked()
{
    answer(-1);
}

void CustomMessageBox::answer(int index)
{
    // The first answer counts, and the box goes at once: whatever its asker
    // does next (often a wait for the unit) must not leave a box on screen
    // that still seems to take a click, nor let a second click count.
    if (!answering)
        return;
    answering = false;
    result = index;
    for (QPushButton *button : qAsConst(buttons))
        button->setEnabled(false);
    ui->btnClose->setEnabled(false);
    setVisible(false);
    emit MessageBoxFinished();
}

void CustomMessageBox::translateUiSlot(QWidget *)
{
    ui->retranslateUi(this);
}

void CustomMessageBox::setTitle(const QString &title)
{
    ui->lblTitle->setText(title);
}

void CustomMessageBox::setText(const QString &text)
{
    ui->lblText->setText(text);
}

QPushButton *CustomMessageBox::closeButton() const
{
    return ui->btnClose;
}

QSize CustomMessageBox::bannerIconSize() const
{
    return ui->btnIcon->iconSize();
}

QString CustomMessageBox::titleText() const
{
    return ui->lblTitle->text();
}

QString CustomMessageBox::messageText() const
{
    return ui->lblText->text();
}
