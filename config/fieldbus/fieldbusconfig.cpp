#include "fieldbusconfig.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QStyledItemDelegate>

#include "device.h"
#include "fieldbusactionbar.h"
#include "fieldbusfields.h"
#include "mousewheelscrollprotect.h"
#include "tormaveldtbox.h"
#include "ui_fieldbusconfig.h"

using namespace fieldbus;

namespace {

// The page of the stack for each TypePage, in the stack's order.
QWidget *stackPage(Ui::FieldbusConfig *ui, TypePage page)
{
    switch (page) {
    case TypePage::ProfiNet: return ui->page_ProfiNet;
    case TypePage::EtherCAT: return ui->page_EtherCAT;
    case TypePage::EtherNetIP: return ui->page_EtherNetIP;
    case TypePage::Powerlink: return ui->page_Powerlink;
    case TypePage::Default: break;
    }
    return ui->page_Default;
}

// The box's title also stands inside its empty field; the stored one is
// there either way.
QString boxTitle(const TormaveldtBox *box)
{
    return box->storedTitleText().isEmpty() ? box->title() : box->storedTitleText();
}

void showCombo(QComboBox *combo, const Anybus_cfg &cfg, int at)
{
    combo->setCurrentIndex(comboIndex(cfg.data()[at], combo->count()));
}

} // namespace

FieldbusConfig::FieldbusConfig(QWidget *parent)
    : BaseWidget(parent)
    , ui(new Ui::FieldbusConfig)
{
    ui->setupUi(this);
    ui->stackFieldbus->setCurrentWidget(ui->page_Default);
    // Under the title: whose record the page shows when it is not this
    // unit's own, in the words an apply would refuse it with.
    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("lblRecordNote"));
    m_note->setWordWrap(true);
    m_note->setProperty("textStyle", QStringLiteral("MediumBold"));
    m_note->hide();
    if (auto *column = qobject_cast<QBoxLayout *>(layout()))
        column->insertWidget(column->indexOf(ui->wdgFielbusCollBtn) + 1, m_note);

    const QList<QComboBox *> combos{ui->cmbDHCP,       ui->cmbMDI1,       ui->cmbMDI2,
                                    ui->cmbEthComSet1, ui->cmbEthComSet2, ui->cmbWordOrder};
    const QList<QSpinBox *> spins{ui->spnConnTimeout, ui->spnProcActiveTimeout, ui->spnDevIDEtherCAT, ui->spnNodeID};
    for (QComboBox *combo : combos) {
        combo->setItemDelegate(new QStyledItemDelegate(combo));
        combo->installEventFilter(new MouseWheelScrollProtect(combo, true));
    }
    for (QSpinBox *spin : spins)
        spin->installEventFilter(new MouseWheelScrollProtect(spin, true));

    Device *device = Device::instance();
    connect(device->confighandler(), &Confighandler::AnybusCFGchanged, this, &FieldbusConfig::AnybusCFGchanged);
    connect(device->confighandler(), &Confighandler::AnybusOriginchanged, this, &FieldbusConfig::updateNote);
    connect(device->ethernetHandler(), &EthernetHandler::connectionLost, this, &FieldbusConfig::lostconnection);
    connect(device->ethernetHandler(), &EthernetHandler::connectionPing, this,
            &FieldbusConfig::connectionsuccesfull);
    BaseWidget::connectWrapperSignals(ui->wdgFBActionBar, this);

    for (QComboBox *combo : combos)
        connect(combo, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &FieldbusConfig::AnybusCFGedited);
    const QList<QLineEdit *> edits{ui->leditIPAddress,   ui->leditSubnetMask, ui->leditDefGateway,
                                   ui->leditPrimDNS,     ui->leditSecDNS,     ui->leditHostname,
                                   ui->leditDomainName,  ui->leditSMTPServer, ui->leditSMTPUser,
                                   ui->leditSMTPPassword, ui->leditStationName};
    for (QLineEdit *edit : edits)
        connect(edit, &QLineEdit::editingFinished, this, &FieldbusConfig::AnybusCFGedited);
    for (QSpinBox *spin : spins)
        connect(spin, &QSpinBox::editingFinished, this, &FieldbusConfig::AnybusCFGedited);
}

FieldbusConfig::~FieldbusConfig() { delete ui; }

void FieldbusConfig::AnybusCFGchanged(Anybus_cfg cfg)
{
    // Only a refresh started by this refresh's own change signals can find
    // the lock held; it comes back once this one is done.
    if (!m_refresh.tryLock()) {
        QMetaObject::invokeMethod(this, [this, cfg] { AnybusCFGchanged(cfg); }, Qt::QueuedConnection);
        return;
    }
    ui->cmbDHCP->setCurrentIndex(dhcpOn(cfg) ? 1 : 0);
    ui->leditIPAddress->setText(ipv4Text(cfg, Anybus_cfg::kIpAddressOffset));
    ui->leditSubnetMask->setText(ipv4Text(cfg, Anybus_cfg::kSubnetMaskOffset));
    ui->leditDefGateway->setText(ipv4Text(cfg, Anybus_cfg::kGatewayOffset));
    ui->leditPrimDNS->setText(ipv4Text(cfg, Anybus_cfg::kDns1Offset));
    ui->leditSecDNS->setText(ipv4Text(cfg, Anybus_cfg::kDns2Offset));

    for (int i = 0; i < ui->stackFieldbus->count(); ++i) {
        QWidget *page = ui->stackFieldbus->widget(i);
        page->setSizePolicy(page->sizePolicy().horizontalPolicy(), QSizePolicy::Ignored);
    }

    ui->leditHostname->setText(nameText(cfg, kHostName));
    ui->leditDomainName->setText(nameText(cfg, kDomainName));
    ui->leditSMTPServer->setText(nameText(cfg, kSmtpServer));
    ui->leditSMTPUser->setText(nameText(cfg, kSmtpUser));
    ui->leditSMTPPassword->setText(nameText(cfg, kSmtpPassword));

    // The module the unit reports chooses the layout; a record made for
    // another module has nothing to show in its settings.
    const uint16_t type = layoutType(cfg);
    const bool fits = cfg.networkType() == type;
    ui->wdgNetworkSettings->setVisible(hasIpSettings(type));
    ui->wdgModbus->hide();
    ui->wdgModbus->setEnabled(false);

    const TypePage pageType = pageOf(type);
    if (hasModbus(type)) {
        ui->wdgModbus->setEnabled(true);
        ui->wdgModbus->show();
    }
    if (fits) {
        if (hasModbus(type)) {
            showCombo(ui->cmbWordOrder, cfg, offset::kWordOrder);
            ui->spnConnTimeout->setValue(u16At(cfg, offset::kConnTimeout));
            ui->spnProcActiveTimeout->setValue(u16At(cfg, offset::kProcActiveTimeout));
        }
        switch (pageType) {
        case TypePage::EtherNetIP:
            showCombo(ui->cmbEthComSet1, cfg, offset::kComSet1);
            showCombo(ui->cmbEthComSet2, cfg, offset::kComSet2);
            showCombo(ui->cmbMDI1, cfg, offset::kMdi1);
            showCombo(ui->cmbMDI2, cfg, offset::kMdi2);
            break;
        case TypePage::ProfiNet:
            ui->leditStationName->setText(nameText(cfg, kStationName));
            break;
        case TypePage::EtherCAT:
            ui->spnDevIDEtherCAT->setValue(u16At(cfg, offset::kDeviceId));
            break;
        case TypePage::Powerlink:
            ui->spnNodeID->setValue(cfg.data()[offset::kNodeId]);
            break;
        case TypePage::Default:
            break;
        }
    } else {
        clearModuleSettings();
    }
    QWidget *page = stackPage(ui, pageType);
    page->setSizePolicy(page->sizePolicy().horizontalPolicy(), QSizePolicy::Preferred);
    ui->stackFieldbus->setCurrentWidget(page);
    // Nothing typed there could go anywhere: the record holds no settings of
    // this module, and the action bar does not write it to this unit.
    for (int i = 0; i < ui->stackFieldbus->count(); ++i)
        ui->stackFieldbus->widget(i)->setEnabled(fits);
    m_refresh.unlock();
    updateNote();
}

void FieldbusConfig::updateNote()
{
    const QString note = FieldbusActionbar::recordNote();
    if (m_note->text() != note)
        m_note->setText(note);
    m_note->setVisible(!note.isEmpty());
}

uint16_t FieldbusConfig::layoutType(const Anybus_cfg &cfg) const
{
    return FieldbusStatusRecord::isModule(m_unitType) ? m_unitType : cfg.networkType();
}

void FieldbusConfig::clearModuleSettings()
{
    for (QComboBox *combo : {ui->cmbMDI1, ui->cmbMDI2, ui->cmbEthComSet1, ui->cmbEthComSet2, ui->cmbWordOrder})
        combo->setCurrentIndex(-1);
    for (QSpinBox *spin : {ui->spnConnTimeout, ui->spnProcActiveTimeout, ui->spnDevIDEtherCAT, ui->spnNodeID})
        spin->setValue(spin->minimum());
    ui->leditStationName->clear();
}

void FieldbusConfig::AnybusCFGedited()
{
    if (translationInProgress)
        return;
    if (!m_refresh.tryLock())
        return;
    m_refresh.unlock();

    Confighandler *config = Device::instance()->confighandler();
    Anybus_cfg cfg = config->getAnybusCFG();
    setDhcp(cfg, ui->cmbDHCP->currentIndex() > 0);
    // A mistyped address is refused with a word and the field keeps its
    // stored value (the refresh below shows it again): nothing the engineer
    // did not type may reach the unit.
    const struct
    {
        QLineEdit *edit;
        TormaveldtBox *box;
        int at;
    } addresses[] = {
        {ui->leditIPAddress, ui->groupBox_2, Anybus_cfg::kIpAddressOffset},
        {ui->leditSubnetMask, ui->groupBox_3, Anybus_cfg::kSubnetMaskOffset},
        {ui->leditDefGateway, ui->groupBox_4, Anybus_cfg::kGatewayOffset},
        {ui->leditPrimDNS, ui->groupBox_5, Anybus_cfg::kDns1Offset},
        {ui->leditSecDNS, ui->groupBox_6, Anybus_cfg::kDns2Offset},
    };
    QStringList refused;
    for (const auto &address : addresses) {
        if (!setIpv4(cfg, address.at, address.edit->text()))
            refused << tr("%1: \"%2\" is not an IPv4 address; each of its four parts must be a number from 0 to "
                          "255. The field keeps %3.")
                           .arg(boxTitle(address.box), address.edit->text(), ipv4Text(cfg, address.at));
    }
    // A name that does not fit keeps the stored one, with a word (the line
    // edit counts characters, the record bytes of UTF-8); the refresh that
    // follows shows it again.
    const auto storeName = [&](QLineEdit *edit, TormaveldtBox *box, NameField field) {
        if (!setName(cfg, field, edit->text()))
            refused << tr("%1: the text takes %2 bytes, but the field holds at most %3 bytes (a character "
                          "outside plain ASCII, such as an umlaut, takes two or more). The field keeps its previous "
                          "text.")
                           .arg(boxTitle(box))
                           .arg(edit->text().toUtf8().size())
                           .arg(field.width);
    };
    storeName(ui->leditDomainName, ui->groupBox_8, kDomainName);
    storeName(ui->leditHostname, ui->groupBox_7, kHostName);
    storeName(ui->leditSMTPServer, ui->groupBox_9, kSmtpServer);
    storeName(ui->leditSMTPUser, ui->groupBox_10, kSmtpUser);
    storeName(ui->leditSMTPPassword, ui->groupBox_11, kSmtpPassword);

    // The module's own settings only into a record made for the module
    // whose layout the page shows.
    const uint16_t type = cfg.networkType();
    if (ui->stackFieldbus->currentWidget() != ui->page_Default && type == layoutType(cfg)) {
        switch (pageOf(type)) {
        case TypePage::EtherNetIP:
            if (hasModbus(type)) {
                setComboByte(cfg, offset::kWordOrder, ui->cmbWordOrder->currentIndex());
                setU16(cfg, offset::kConnTimeout, uint16_t(ui->spnConnTimeout->value()));
                setU16(cfg, offset::kProcActiveTimeout, uint16_t(ui->spnProcActiveTimeout->value()));
            }
            setComboByte(cfg, offset::kMdi1, ui->cmbMDI1->currentIndex());
            setComboByte(cfg, offset::kMdi2, ui->cmbMDI2->currentIndex());
            setComboByte(cfg, offset::kComSet1, ui->cmbEthComSet1->currentIndex());
            setComboByte(cfg, offset::kComSet2, ui->cmbEthComSet2->currentIndex());
            break;
        case TypePage::ProfiNet:
            storeName(ui->leditStationName, ui->groupBox_21, kStationName);
            break;
        case TypePage::EtherCAT:
            setU16(cfg, offset::kDeviceId, uint16_t(ui->spnDevIDEtherCAT->value()));
            break;
        case TypePage::Powerlink:
            cfg.data()[offset::kNodeId] = uint8_t(ui->spnNodeID->value());
            break;
        case TypePage::Default:
            break;
        }
    }
    config->setAnybusCFG(cfg);
    for (const QString &message : refused)
        printNotification(message, false, QMessageBox::Warning, false);
}

void FieldbusConfig::connectionsuccesfull(HearBeatMessage_t &states, QHostAddress)
{
    const uint16_t type = states.fieldbus.networkType;
    if (type != m_unitType) {
        m_unitType = type;
        AnybusCFGchanged(Device::instance()->confighandler()->getAnybusCFG());
    }
    if (FieldbusStatusRecord::isModule(type) && isHidden())
        show();
}

void FieldbusConfig::lostconnection()
{
    hide();
    if (FieldbusStatusRecord::isModule(m_unitType)) {
        m_unitType = 0xFFFF;
        AnybusCFGchanged(Device::instance()->confighandler()->getAnybusCFG());
    }
}

void FieldbusConfig::translateUiSlot(QWidget *)
{
    // Rebuilds the combo lists (each then shows its first item), the
    // titles, tool tips and suffixes.
    ui->retranslateUi(this);
    ui->leditHostname->setInputMask(QString());
    ui->leditHostname->setText(QString());
    // Show the stored record again, so that the next edit does not write an
    // emptied host name or combos set back to their first item.
    AnybusCFGchanged(Device::instance()->confighandler()->getAnybusCFG());
}
