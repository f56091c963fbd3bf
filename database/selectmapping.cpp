#include "selectmapping.h"

#include "ui_selectmapping.h"

#include <QComboBox>
#include <QDebug>
#include <QRegularExpression>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QSortFilterProxyModel>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QStyledItemDelegate>

#include "appendproxymodel.h"
#include "catalogueentries.h"
#include "confighandler.h"
#include "databasecont.h"
#include "dedublicateproxymodel.h"
#include "mousewheelscrollprotect.h"
#include "scalinghandlercont.h"

namespace {

const char kMappingListQuery[] =
    "SELECT Mapping.mappingid, prodFamilyEntry.prodFamilyid, prodFamilyEntry.prodFamilyName, "
    "prodTypeEntry.prodTypeid, prodTypeEntry.prodTypeName, prodSubTypeEntry.prodSubTypeid, "
    "prodSubTypeEntry.prodSubTypeName, prodSizeEntry.prodSizeid, prodSizeEntry.prodSize, lubEntry.lubID, "
    "lubEntry.lubTypeName, Version FROM Mapping INNER JOIN DeviceEntry ON DeviceEntry.deviceid = "
    "Mapping.fkdeviceid INNER JOIN prodFamilyEntry ON prodFamilyEntry.prodFamilyid = DeviceEntry.fkprodFamilyid "
    "INNER JOIN prodTypeEntry ON prodTypeEntry.prodTypeid = DeviceEntry.fkprodTypeid INNER JOIN prodSubTypeEntry "
    "ON prodSubTypeEntry.prodSubTypeid = DeviceEntry.fkprodSubTypeid INNER JOIN prodSizeEntry ON "
    "prodSizeEntry.prodSizeid = DeviceEntry.fkprodSizeid INNER JOIN lubEntry ON lubEntry.lubID = Mapping.fklubID";

// Key and shown columns of the query, in cascade order.
struct StageColumns
{
    int key;
    int shown;
};
const StageColumns kStageColumns[6] = {{1, 2}, {7, 8}, {3, 4}, {5, 6}, {9, 10}, {11, 11}};

// Passes only rows whose key is exactly the given one (family 1 must not
// pass families 10 to 19); an empty key passes every row.
void setKeyFilter(QSortFilterProxyModel *filter, const QString &key)
{
    if (key.isEmpty())
        filter->setFilterRegularExpression(QRegularExpression());
    else
        filter->setFilterRegularExpression(
            QRegularExpression(QRegularExpression::anchoredPattern(QRegularExpression::escape(key))));
}

// The row of the model whose column 0 holds exactly the id, or -1.
int rowOfId(const QAbstractItemModel *model, int id)
{
    for (int r = 0; r < model->rowCount(); ++r) {
        bool ok = false;
        const int value = model->data(model->index(r, 0)).toInt(&ok);
        if (ok && value == id)
            return r;
    }
    return -1;
}

} // namespace

SelectMapping::SelectMapping(QWidget *parent)
    : BaseDBselectWidget(parent)
    , ui(new Ui::SelectMapping)
{
    setup();
}

SelectMapping::SelectMapping(Databasecont &container, Confighandler &config, QWidget *parent)
    : BaseDBselectWidget(container, config, parent)
    , ui(new Ui::SelectMapping)
{
    setup();
}

SelectMapping::~SelectMapping()
{
    delete ui;
}

void SelectMapping::setup()
{
    modelsReady = false;
    currentChannel = 7;
    ui->setupUi(this);
    QComboBox *combos[6] = {ui->cmbDevFamily, ui->cmbDevSize, ui->cmbDevType,
                            ui->cmbDevVariant, ui->cmbLubType, ui->cmbVersion};
    for (int i = 0; i < 6; ++i) {
        SelectionStage stage;
        stage.combo = combos[i];
        stage.keyColumn = kStageColumns[i].key;
        stage.shownColumn = kStageColumns[i].shown;
        stages << stage;
        combos[i]->setItemDelegate(new QStyledItemDelegate(this));
    }
    connect(&config, &Confighandler::ConfigBlobchanged, this, &SelectMapping::updateConfigBlob);
    connect(&container, &Databasecont::initcomplete, this, &SelectMapping::buildModels, Qt::DirectConnection);
    ScaleFactorChange(ScalingHandlerCont::instance()->getScaleFactor());
}

void SelectMapping::buildModels()
{
    queryModel = new QSqlQueryModel(this);
    queryModel->setQuery(QString::fromLatin1(kMappingListQuery), *db);
    // The model fetches in batches; the cascade needs every mapping.
    while (queryModel->canFetchMore())
        queryModel->fetchMore();
    if (queryModel->lastError().isValid())
        qDebug().noquote() << "mapping list query failed:" << queryModel->lastError().text();

    QAbstractItemModel *source = queryModel;
    for (SelectionStage &stage : stages) {
        stage.filter = new QSortFilterProxyModel(this);
        stage.filter->setSourceModel(source);
        stage.filter->setFilterKeyColumn(stage.keyColumn);
        stage.dedup = new DeDublicateProxyModel(this);
        stage.dedup->setFilterKeyColumn(stage.keyColumn);
        stage.dedup->setSourceModel(source);
        stage.append = new AppendProxyModel(this);
        stage.append->setSourceModel(stage.dedup);
        stage.combo->setModel(stage.append);
        stage.combo->setModelColumn(stage.shownColumn);
        stage.combo->show();
        QComboBox *combo = stage.combo;
        connect(stage.append, &QAbstractItemModel::dataChanged, this, [this, combo] { onModelDataChanged(combo); },
                Qt::DirectConnection);
        combo->installEventFilter(new MouseWheelScrollProtect(combo, true));
        source = stage.filter;
    }
    modelsReady = true;
    if (currentChannel <= 6)
        currentChannelchanged(currentChannel);
    applyFilter(0);
}

std::vector<std::unique_ptr<QSignalBlocker>> SelectMapping::blockComboSignals()
{
    std::vector<std::unique_ptr<QSignalBlocker>> blockers;
    for (const SelectionStage &stage : qAsConst(stages))
        blockers.push_back(std::make_unique<QSignalBlocker>(stage.combo));
    return blockers;
}

void SelectMapping::onModelDataChanged(QComboBox *combo)
{
    combo->update();
    qDebug() << "datachanged -> update modell";
}

void SelectMapping::applyFilter(int s)
{
    SelectionStage &stage = stages[s];
    const int i = stage.combo->currentIndex();
    // The two appended rows choose nothing.
    if (i >= stage.dedup->rowCount())
        return;
    const QString key = i < 0 ? QString() : stage.append->index(i, stage.keyColumn).data().toString();
    // Narrowing a stage moves the rows under the later combo boxes; those
    // moves are the program's own and must not choose anything.
    const auto blockers = blockComboSignals();
    setKeyFilter(stage.filter, key);
    qDebug().noquote() << "applied Filterid:" << stage.filter->filterRegularExpression().pattern()
                       << " FilterText: " << stage.combo->currentText();

    for (int t = s + 1; t < stages.size(); ++t) {
        SelectionStage &later = stages[t];
        setKeyFilter(later.filter, QString());
        later.filter->invalidate();
        later.dedup->invalidate();
        later.combo->update();
        later.combo->setCurrentIndex(later.combo->count() - 2);
        later.combo->setEnabled(t == s + 1);
    }
    for (SelectionStage &each : stages) {
        each.filter->invalidate();
        each.dedup->invalidate();
    }
    for (SelectionStage &each : stages)
        each.combo->update();

    const QSortFilterProxyModel *last = stages.last().filter;
    if (last->rowCount() == 1) {
        const int id = last->index(0, 0).data().toInt();
        m_selectedMappingId = id;
        qDebug() << "selected Mapping id " << id;
        writeMapping(id);
    } else if (selectionWrote) {
        // A mapping the user only passed over on the way to this choice
        // must not reach the unit.
        restoreEntriesWhenShown();
    }
}

void SelectMapping::restoreEntriesWhenShown()
{
    // All seven entries: a catalogue entry is shared by the channels that
    // use it, so writing it may have changed other channels' values too.
    // Nothing but this selection changed them since the channel was shown.
    CFG_Blob_struct_sorted blob = config.getConfigBlob();
    for (int i = 0; i < kChannelCount; ++i)
        blob.setMapping(i, blobWhenShown.mapping(i));
    const QScopedValueRollback<OwnWrite> restoring(ownWrite, OwnWrite::Restore);
    if (config.sealBlob(blob) == ERR_OK)
        selectionWrote = false;
}

void SelectMapping::writeMapping(int mappingId)
{
    QSqlQuery q(*db);
    q.prepare(QString::fromLatin1(CatalogueEntries::kMappingQuery));
    q.bindValue(QStringLiteral(":ID"), mappingId);
    if (!q.exec()) {
        qDebug().noquote() << "mapping query failed:" << q.lastError().text();
        return;
    }
    if (!q.next())
        return;
    QVariantList row;
    for (int c = 0; c < 16; ++c)
        row << q.value(c);
    CFG_ChannelMapping_struct entry;
    CatalogueEntries::Refusal refusal;
    // A mapping that is not stored leaves the combo boxes showing the one
    // that is.
    if (!CatalogueEntries::mappingEntry(row, entry, &refusal)) {
        printNotification(tr("Mapping %1 was not written: the catalogue value %2 = %3 does not fit the channel "
                             "configuration.")
                              .arg(mappingId)
                              .arg(refusal.column, refusal.value),
                          false, QMessageBox::Critical, false);
        showChannel();
        return;
    }
    // The model reports its own refusal.
    const QScopedValueRollback<OwnWrite> writing(ownWrite, OwnWrite::Mapping);
    if (config.setChannelConfig(entry, currentChannel, false) == ERR_OK)
        selectionWrote = true;
    else
        showChannel();
}

void SelectMapping::currentChannelchanged(uint8_t channel)
{
    if (channel > 6)
        return;
    currentChannel = channel;
    if (!modelsReady)
        return;
    // The user's choices from here on are a new selection.
    blobWhenShown = config.getConfigBlob();
    selectionWrote = false;
    showChannel();
}

void SelectMapping::showChannel()
{
    if (!modelsReady || currentChannel > 6)
        return;
    CFG_ChannelMapping_struct entry;
    config.channelEntry(currentChannel, entry);
    const int id = entry.id();
    // Showing the stored entry selects and writes nothing.
    const auto blockers = blockComboSignals();

    for (SelectionStage &stage : stages) {
        setKeyFilter(stage.filter, QString());
        stage.filter->invalidate();
        stage.dedup->invalidate();
        stage.combo->update();
    }

    const int r = id > 0 ? rowOfId(queryModel, id) : -1;
    if (r >= 0) {
        for (SelectionStage &stage : stages) {
            const QVariant key = queryModel->index(r, stage.keyColumn).data();
            setKeyFilter(stage.filter, key.toString());
            stage.filter->invalidate();
            stage.dedup->invalidate();
            stage.combo->update();
            // The row of this key among the stage's distinct keys.
            int row = 0;
            for (int k = 0; k < stage.dedup->rowCount(); ++k) {
                if (stage.append->index(k, stage.keyColumn).data() == key) {
                    row = k;
                    break;
                }
            }
            stage.combo->setCurrentIndex(row);
        }
        return;
    }
    // Not in the catalogue: 0 and -1 select the two fixed rows; any other
    // id names a mapping this catalogue lacks, and no row may claim it.
    for (SelectionStage &stage : stages) {
        const int row = rowOfId(stage.append, id);
        if (id <= 0 && row >= stage.dedup->rowCount())
            stage.combo->setCurrentIndex(row);
        else if (id > 0)
            stage.combo->setCurrentIndex(-1);
    }
}

void SelectMapping::updateConfigBlob(CFG_Blob_struct_sorted)
{
    switch (ownWrite) {
    case OwnWrite::Mapping:
        // The written mapping is shown in full, within the same selection.
        showChannel();
        return;
    case OwnWrite::Restore:
        // The combo boxes keep the user's partial choice, so that it can
        // be completed.
        return;
    case OwnWrite::None:
        currentChannelchanged(currentChannel);
        return;
    }
}

void SelectMapping::on_cmbDevFamily_currentIndexChanged(int)
{
    if (modelsReady)
        applyFilter(0);
}

void SelectMapping::on_cmbDevSize_currentIndexChanged(int)
{
    if (modelsReady)
        applyFilter(1);
}

void SelectMapping::on_cmbDevType_currentIndexChanged(int)
{
    if (modelsReady)
        applyFilter(2);
}

void SelectMapping::on_cmbDevVariant_currentIndexChanged(int)
{
    if (modelsReady)
        applyFilter(3);
}

void SelectMapping::on_cmbLubType_currentIndexChanged(int)
{
    if (modelsReady)
        applyFilter(4);
}

void SelectMapping::on_cmbVersion_currentIndexChanged(int)
{
    if (modelsReady)
        applyFilter(5);
}

void SelectMapping::translateUiSlot(QWidget *)
{
    ui->retranslateUi(this);
}
