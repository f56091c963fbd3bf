#pragma once

#include <QList>
#include <QMetaType>
#include <QNetworkAddressEntry>
#include <QNetworkInterface>
#include <QString>

#include "basewidget.h"

namespace Ui {
class NicSelectWidget;
}

// Picks the local IPv4 address the tool's socket is bound to. Lists every
// usable address of the PC once, at construction, and announces the chosen
// entry to the one Device, which drops the current unit and rebinds the
// socket. Every construction announces its first entry.
class NicSelectWidget : public BaseWidget
{
    Q_OBJECT

public:
    // What the listing needs of a network interface; the live list comes
    // from QNetworkInterface::allInterfaces().
    struct Interface
    {
        QString name;
        QNetworkInterface::InterfaceFlags flags;
        QList<QNetworkAddressEntry> entries;
    };
    struct Choice
    {
        QString text;
        QNetworkAddressEntry entry;
    };

    explicit NicSelectWidget(QWidget *parent = nullptr);
    ~NicSelectWidget() override;

    // The entry of the current item; a default entry (null address and
    // mask) when there is none.
    QNetworkAddressEntry currentAddressEntry() const;

    // The choices offered for `interfaces`: of every interface that is up
    // and running, in order, each IPv4 address that is neither loopback nor
    // null, shown as "<name> | IP: <address>".
    static QList<Choice> choices(const QList<Interface> &interfaces);
    static QList<Interface> systemInterfaces();

signals:
    void currentAddrEntrychanged(QNetworkAddressEntry entry);

public slots:
    void ScaleFactorChange(double factor) override;
    void on_cmbNetworkInterface_currentTextChanged(QString arg1);
    void translateUiSlot(QWidget *ptr) override;

private:
    Ui::NicSelectWidget *ui;
};
