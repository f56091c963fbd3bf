#pragma once

#include <cstdint>

#include "basedbselectwidget.h"
#include "configrecords.h"

class AppendProxyModel;
class QComboBox;
class QLabel;
class QSqlQueryModel;
class QVBoxLayout;
class TormaveldtBox;

// Picks the sensor of the current channel from the sensor catalogue; the
// chosen sensor's IEPE supply limits go into the channel's sensor entry.
// Follows the channel the configuration page shows and every new blob.
class SelectSensor : public BaseDBselectWidget
{
    Q_OBJECT

public:
    explicit SelectSensor(QWidget *parent = nullptr);
    SelectSensor(Databasecont &container, Confighandler &config, QWidget *parent = nullptr);
    ~SelectSensor() override;

    QComboBox *sensorComboBox() const { return cmbSensor; }
    uint8_t currentChannelShown() const { return currentChannel; }
    bool modelsAreReady() const { return modelsReady; }

public slots:
    void updateConfigBlob(CFG_Blob_struct_sorted newcfgentry);
    void currentChannelchanged(uint8_t channel) override;
    void on_cmbSensor_currentIndexChanged(int index);
    void translateUiSlot(QWidget *ptr) override;

private slots:
    void buildModel();

private:
    void setup();

    bool modelsReady = false;
    uint8_t currentChannel = 7;
    QSqlQueryModel *queryModel = nullptr;
    AppendProxyModel *appendModel = nullptr;

    QVBoxLayout *verticalLayout = nullptr;
    QLabel *label = nullptr;
    TormaveldtBox *groupBox_7 = nullptr;
    QVBoxLayout *verticalLayout_2 = nullptr;
    QComboBox *cmbSensor = nullptr;
};
