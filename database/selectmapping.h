#pragma once

#include <QList>
#include <cstdint>
#include <memory>
#include <vector>

#include "basedbselectwidget.h"
#include "configrecords.h"

class AppendProxyModel;
class DeDublicateProxyModel;
class QComboBox;
class QSignalBlocker;
class QSortFilterProxyModel;
class QSqlQueryModel;

namespace Ui {
class SelectMapping;
}

// One step of the mapping cascade: the rows the earlier steps leave,
// narrowed to the chosen key (filter), each key once (dedup) plus the two
// fixed rows (append), shown in its combo box.
struct SelectionStage
{
    QSortFilterProxyModel *filter = nullptr;
    DeDublicateProxyModel *dedup = nullptr;
    AppendProxyModel *append = nullptr;
    QComboBox *combo = nullptr;
    int keyColumn = 0;
    int shownColumn = 0;
};

// Picks the catalogue mapping of the current channel in six steps (device
// family, design size, design model, variant, lubrication type, version).
// As soon as the choices leave exactly one mapping, its channel parameters
// and its quantised filter go into the channel's mapping entry; when a later
// choice leaves several again, the entries go back to what they held when
// the channel was shown. Follows the channel the configuration page shows
// and every new configuration blob.
class SelectMapping : public BaseDBselectWidget
{
    Q_OBJECT

public:
    explicit SelectMapping(QWidget *parent = nullptr);
    SelectMapping(Databasecont &container, Confighandler &config, QWidget *parent = nullptr);
    ~SelectMapping() override;

    int selectedMappingId() const { return m_selectedMappingId; }
    uint8_t currentChannelShown() const { return currentChannel; }
    bool modelsAreReady() const { return modelsReady; }
    const QList<SelectionStage> &selectionStages() const { return stages; }

public slots:
    void updateConfigBlob(CFG_Blob_struct_sorted newcfgentry);
    void currentChannelchanged(uint8_t channel) override;
    void on_cmbDevFamily_currentIndexChanged(int index);
    void on_cmbDevSize_currentIndexChanged(int index);
    void on_cmbDevType_currentIndexChanged(int index);
    void on_cmbDevVariant_currentIndexChanged(int index);
    void on_cmbLubType_currentIndexChanged(int index);
    void on_cmbVersion_currentIndexChanged(int index);
    void translateUiSlot(QWidget *ptr) override;

private slots:
    void buildModels();

private:
    void setup();
    void applyFilter(int stage);
    void writeMapping(int mappingId);
    // Shows the channel's stored entry in the combo boxes.
    void showChannel();
    // Puts back the mapping entries the channel was shown with, leaving the
    // combo boxes as the user set them.
    void restoreEntriesWhenShown();
    void onModelDataChanged(QComboBox *combo);
    // Holds the six combo boxes' signals back while the program itself
    // moves their rows or current entries.
    std::vector<std::unique_ptr<QSignalBlocker>> blockComboSignals();

    Ui::SelectMapping *ui;
    bool modelsReady = false;
    uint8_t currentChannel = 7;
    QSqlQueryModel *queryModel = nullptr;
    QList<SelectionStage> stages;
    int m_selectedMappingId = -1;
    // The blob as it was when the current channel was shown (or a new
    // configuration arrived): a mapping that a choice wrote on the way and a
    // later choice left behind goes back to what the channel held then.
    CFG_Blob_struct_sorted blobWhenShown;
    bool selectionWrote = false;
    // Which of the page's own blob changes is under way; neither starts a
    // new selection, and a restore leaves the combo boxes alone.
    enum class OwnWrite { None, Mapping, Restore };
    OwnWrite ownWrite = OwnWrite::None;
};
