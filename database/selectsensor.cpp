#include "selectsensor.h"

#include <QComboBox>
#include <QDebug>
#include <QLabel>
#include <QSignalBlocker>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "appendproxymodel.h"
#include "catalogueentries.h"
#include "confighandler.h"
#include "databasecont.h"
#include "mousewheelscrollprotect.h"
#include "scalinghandlercont.h"
#include "tormaveldtbox.h"

SelectSensor::SelectSensor(QWidget *parent)
    : BaseDBselectWidget(parent)
{
    setup();
}

SelectSensor::SelectSensor(Databasecont &container, Confighandler &config, QWidget *parent)
    : BaseDBselectWidget(container, config, parent)
{
    setup();
}

SelectSensor::~SelectSensor() = default;

void SelectSensor::setup()
{
    modelsReady = false;
    currentChannel = 7;

    setObjectName(QStringLiteral("SelectSensor"));
    resize(229, 71);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    setProperty("isTransparent", true);
    verticalLayout = new QVBoxLayout(this);
    verticalLayout->setObjectName(QStringLiteral("verticalLayout"));
    verticalLayout->setContentsMargins(0, 0, 0, 0);
    label = new QLabel(this);
    label->setObjectName(QStringLiteral("label"));
    label->setProperty("textStyle", QStringLiteral("H4"));
    label->setProperty("isTransparent", true);
    verticalLayout->addWidget(label);
    groupBox_7 = new TormaveldtBox(this);
    groupBox_7->setObjectName(QStringLiteral("groupBox_7"));
    groupBox_7->setProperty("isTransparent", true);
    verticalLayout_2 = new QVBoxLayout(groupBox_7);
    verticalLayout_2->setObjectName(QStringLiteral("verticalLayout_2"));
    cmbSensor = new QComboBox(groupBox_7);
    cmbSensor->setObjectName(QStringLiteral("cmbSensor"));
    cmbSensor->setFocusPolicy(Qt::StrongFocus);
    cmbSensor->setProperty("isTransparent", true);
    verticalLayout_2->addWidget(cmbSensor);
    verticalLayout->addWidget(groupBox_7);
    translateUiSlot(this);
    QMetaObject::connectSlotsByName(this);

    cmbSensor->setItemDelegate(new QStyledItemDelegate(this));
    cmbSensor->installEventFilter(new MouseWheelScrollProtect(cmbSensor, true));
    connect(&config, &Confighandler::ConfigBlobchanged, this, &SelectSensor::updateConfigBlob);
    connect(&container, &Databasecont::initcomplete, this, &SelectSensor::buildModel, Qt::DirectConnection);
    ScaleFactorChange(ScalingHandlerCont::instance()->getScaleFactor());
}

void SelectSensor::buildModel()
{
    queryModel = new QSqlQueryModel(this);
    queryModel->setQuery(QStringLiteral("SELECT sensorid, sensorName FROM sensors"), *db);
    // Every sensor, not only the first batch the model fetches by itself.
    while (queryModel->canFetchMore())
        queryModel->fetchMore();
    if (queryModel->lastError().isValid())
        qDebug().noquote() << "sensor list query failed:" << queryModel->lastError().text();
    appendModel = new AppendProxyModel(this);
    appendModel->setSourceModel(queryModel);
    cmbSensor->setModel(appendModel);
    cmbSensor->setModelColumn(1);
    cmbSensor->show();
    modelsReady = true;
    if (currentChannel <= 6)
        currentChannelchanged(currentChannel);
}

void SelectSensor::on_cmbSensor_currentIndexChanged(int index)
{
    if (!modelsReady)
        return;
    const int id = cmbSensor->model()->index(index, 0).data().toInt();
    if (id <= 0)
        return;
    QSqlQuery q(*db);
    q.prepare(QString::fromLatin1(CatalogueEntries::kSensorQuery));
    q.bindValue(QStringLiteral(":ID"), id);
    // Whatever is not stored, the combo box goes back to what is.
    if (!q.exec()) {
        printNotification(tr("Sensor Selection Failed. ") + q.lastError().text(), false, QMessageBox::Critical,
                          false);
        currentChannelchanged(currentChannel);
        return;
    }
    if (!q.next()) {
        currentChannelchanged(currentChannel);
        return;
    }
    CFG_Sensor_struct entry;
    CatalogueEntries::Refusal refusal;
    if (!CatalogueEntries::sensorEntry({q.value(0), q.value(1), q.value(2)}, entry, &refusal)) {
        printNotification(tr("Sensor %1 was not written: the catalogue value %2 = %3 does not fit the sensor "
                             "configuration.")
                              .arg(id)
                              .arg(refusal.column, refusal.value),
                          false, QMessageBox::Critical, false);
        currentChannelchanged(currentChannel);
        return;
    }
    // The model reports its own refusal.
    if (config.setSensorConfig(entry, currentChannel, false) != ERR_OK)
        currentChannelchanged(currentChannel);
}

void SelectSensor::currentChannelchanged(uint8_t channel)
{
    if (channel > 6)
        return;
    currentChannel = channel;
    if (!modelsReady)
        return;
    CFG_Sensor_struct entry;
    config.channelParams(channel, entry);
    // The row that names exactly this id (id 1 must not select 10); a
    // sensor this catalogue lacks leaves no row selected.
    int row = -1;
    for (int r = 0; r < appendModel->rowCount() && row < 0; ++r) {
        bool ok = false;
        if (appendModel->index(r, 0).data().toInt(&ok) == entry.id() && ok)
            row = r;
    }
    const QSignalBlocker blocker(cmbSensor);
    cmbSensor->setCurrentIndex(row);
}

void SelectSensor::updateConfigBlob(CFG_Blob_struct_sorted)
{
    currentChannelchanged(currentChannel);
}

void SelectSensor::translateUiSlot(QWidget *)
{
    label->setText(tr("Sensor Parameter"));
    groupBox_7->setTitle(tr("Sensor"));
}
