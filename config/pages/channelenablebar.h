#pragma once

#include "basewidget.h"
#include "devicerecords.h"

#include <QHostAddress>
#include <QPointer>
#include <QVector>
#include <cstdint>

class AbstractGraph;
class QCheckBox;
class QGraphicsColorizeEffect;
class QPushButton;

namespace Ui {
class ChannelEnableBar;
}

// Seven channel selectors that give a channel mask (bit n = channel n). Each
// selected check box is tinted in the colour its graph draws the channel in;
// each selector is labelled with the channel's name from the configuration.
class ChannelEnableBar : public BaseWidget
{
    Q_OBJECT
public:
    explicit ChannelEnableBar(QWidget *parent = nullptr);
    ~ChannelEnableBar() override;

    // Computes the mask and refreshes the tint of the seven check boxes.
    uint8_t getChannelMask();
    void emitChannelMask();
    // The graph whose channel colours the bar shows (not owned).
    void setColorSource(AbstractGraph *graph);

    QCheckBox *checkBox(int channel) const;
    QPushButton *nameButton(int channel) const;
    QGraphicsColorizeEffect *effect(int channel) const;

signals:
    void channelMaskchanged(uint8_t mask);

public slots:
    void lostconnection() {}
    void connectionsuccesfull(HearBeatMessage_t &, QHostAddress) {}
    void updateChannelname(QString newChannelname, uint8_t channelindex);
    void translateUiSlot(QWidget *ptr) override;

private:
    QColor channelColor(int channel) const;

    struct Entry
    {
        QCheckBox *check = nullptr;
        QGraphicsColorizeEffect *effect = nullptr;
        QPushButton *name = nullptr;
    };
    QPointer<AbstractGraph> colorSource;
    Ui::ChannelEnableBar *ui;
    QVector<Entry> entries;
};
