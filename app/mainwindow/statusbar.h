#pragma once

#include "basewidget.h"
#include "devicerecords.h"

#include <QHostAddress>
#include <QIcon>
#include <array>
#include <cstdint>

class QAbstractButton;
class QLabel;
class QToolButton;

namespace Ui {
class StatusBar;
}

// The strip of the main window that shows the connected unit as every
// heartbeat reports it: address, error state with its reset button, the
// device error bits, each channel's sensor state and the fieldbus module.
// New device error bits raise one error notification each. Apart from the
// error reset it sends nothing to the unit.
class StatusBar : public BaseWidget
{
    Q_OBJECT
public:
    static constexpr int kChannels = 7;

    explicit StatusBar(QWidget *parent = nullptr);
    ~StatusBar() override;

    // The tooltip text of the device error bits; raises the notifications of
    // bits not notified since the last loss of connection.
    QString errorBitsText(bool critical, uint32_t bits);
    // Fills the fieldbus block and shows it only when the record is valid.
    void fieldbusStatusText(const FieldbusStatusRecord &record);
    void setStatusIcon(QAbstractButton *button, const QIcon &icon);

    // The untranslated name of device error bit `bit` (empty above 24) and of
    // a fieldbus network type code (empty when the code has none).
    static QString errorBitName(int bit);
    static QString networkTypeName(uint16_t code);

    Ui::StatusBar *form() const { return ui; }
    uint32_t notifiedBits() const { return notifiedErrorBits; }
    QLabel *channelNameLabel(int channel) const;
    QLabel *channelStateLabel(int channel) const;
    QToolButton *channelLed(int channel) const;
    // Which of the loaded LED icons a button shows, by its cache key.
    enum class Led { Connected, Disabled, Fault, DeviceError, DeviceOk, NotConnected, Other };
    Led ledOf(QAbstractButton *button) const;

signals:
    void Barresized();

public slots:
    void connectionsuccesfull(HearBeatMessage_t &states, QHostAddress sender);
    void lostconnection();
    void updateChannelname(QString newChannelname, uint8_t channelindex);
    void on_btnErrorReset_clicked();
    void ScaleFactorChange(double factor) override;
    void translateUiSlot(QWidget *ptr) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void emitBarresized();
    // Gives the channel state labels their least width, in the font the
    // words are drawn in.
    void sizeStateLabels();
    void shareRowWithWords(QLabel *stateLabel);

    Ui::StatusBar *ui;
    uint32_t notifiedErrorBits = 0;
    // A heartbeat has shown the unit's state since the start or the last
    // loss of connection.
    bool linkShown = false;
    std::array<QLabel *, kChannels> nameLabels{};
    std::array<QLabel *, kChannels> stateLabels{};
    std::array<QToolButton *, kChannels> leds{};
    QIcon iconChannelConnected;
    QIcon iconChannelDisabled;
    QIcon iconChannelFault;
    QIcon iconDeviceError;
    QIcon iconDeviceOk;
    QIcon iconDeviceNotConnected;
};
