#include "connectdialog.h"

#include <QCoreApplication>
#include <QDebug>
#include <QBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidgetItem>
#include <QStyle>
#include <QThread>
#include <QTimer>

#include "device.h"
#include "dialogsresources.h"
#include "discoverytext.h"
#include "eventdetect.h"
#include "nicselectwidget.h"
#include "requestgate.h"
#include "scalinghandlercont.h"
#include "ui_connectdialog.h"
#include "waitguard.h"

Connectdialog::Connectdialog(QWidget *parent)
    : BaseDialog(parent)
    , ui((initDialogsResources(), new Ui::Connectdialog))
{
    qDebug() << "pre Ui";
    EthernetHandler *eth = Device::instance()->ethernetHandler();
    m_wasConnected = eth->isConnected();
    ui->setupUi(this);
    ScalingHandlerCont::instance()->scaleLayout(this);

    m_pressWatcher = std::make_shared<EventDetect>(QEvent::MouseButtonPress, 0, ui->frameManIP);
    ui->frameManIP->installEventFilter(m_pressWatcher.get());
    connect(m_pressWatcher.get(), &EventDetect::eventDetected, this, &Connectdialog::frameManIP_clicked);

    m_linkIcon = QIcon(QStringLiteral(":/res/baseline-link-24px.svg"));
    m_noLinkIcon = QIcon(QStringLiteral(":/res/baseline-link-disconnected-24px.svg"));
    addStateMark(ui->lblConnStatusConn);
    addStateMark(ui->lblConnStatusNotConn);
    qDebug() << "check conn";
    if (m_wasConnected) {
        m_currentAddress = Device::instance()->confighandler()->getIpAddress();
        m_connectedName = Device::instance()->confighandler()->deviceName();
    }
    showConnectionState();

    ui->tblFoundDevices->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    connect(eth, &EthernetHandler::finishedDiscoverdata, this, &Connectdialog::updateDiscoverList);
    connect(ui->leditManIP, &QLineEdit::editingFinished, this, &Connectdialog::leditManIP_editingFinished);
    // The selector's own connection to the Device is older, so the socket's
    // rebind is asked for before this discovery starts.
    connect(ui->wdgNicSel, &NicSelectWidget::currentAddrEntrychanged, this,
            [this](QNetworkAddressEntry) { on_btnDiscoverIPs_clicked(); }, Qt::DirectConnection);
    updateConnectButton();
    m_startTimer.setSingleShot(true);
    connect(&m_startTimer, &QTimer::timeout, this, &Connectdialog::on_btnDiscoverIPs_clicked);
    // The dialog's end stops the discovery still due at once: on a busy
    // machine the start timer may fall due in the same pass of the event
    // loop as the click that ended the dialog, and would then drop the unit
    // just chosen.
    connect(this, &BaseDialog::DialogFinished, &m_startTimer, &QTimer::stop);
    ScaleFactorChange(ScalingHandlerCont::instance()->getScaleFactor());

    QHeaderView *header = ui->tblFoundDevices->horizontalHeader();
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont headerFont(QStringLiteral("Arial-Bold"), headerPointSize(), 75);
    header->setFont(headerFont);
}

Connectdialog::~Connectdialog()
{
    // The press watcher is a child of the frame and dies with the form;
    // drop the shared pointer's claim first.
    if (m_pressWatcher) {
        ui->frameManIP->removeEventFilter(m_pressWatcher.get());
        m_pressWatcher->setParent(nullptr);
    }
    m_pressWatcher.reset();
    delete ui;
}

void Connectdialog::addStateMark(QLabel *label)
{
    // The mark goes before the header's text, in a label of its own (its
    // image comes from the style sheet): as an image of the text's label
    // it would be drawn over the text.
    auto *row = qobject_cast<QBoxLayout *>(label->parentWidget()->layout());
    if (!row)
        return;
    auto *mark = new QLabel(label->parentWidget());
    mark->setObjectName(label->objectName() + QStringLiteral("Mark"));
    label->ensurePolished();
    // As high as the text's line, as the icons of the style sheet are.
    const int side = qRound(QFontMetrics(label->font()).height() * 1.33);
    mark->setFixedSize(side, side);
    row->insertWidget(row->indexOf(label), mark);
    row->insertSpacing(row->indexOf(label), side / 3);
    row->setAlignment(mark, Qt::AlignVCenter);
}

int Connectdialog::headerPointSize() const
{
    return qMax(1, int(12 * ScalingHandlerCont::instance()->getScaleFactor()));
}

void Connectdialog::reportError(const QString &message)
{
    printNotification(message, false, QMessageBox::Critical, false);
}

void Connectdialog::showConnectionState()
{
    if (!m_wasConnected) {
        ui->stackedWidget->setCurrentWidget(ui->pageNoConn);
        return;
    }
    const QString shown = Confighandler::elideText(m_connectedName, 32);
    ui->lblConnStatusConn->setText(ui->lblConnStatusConn->text() + QLatin1Char(' ') + shown
                                   + QStringLiteral(" | ") + m_currentAddress.toString());
    ui->lblConnStatusConn->setToolTip(shown != m_connectedName ? m_connectedName : QString());
    ui->stackedWidget->setCurrentWidget(ui->pageConnected);
}

int Connectdialog::exec()
{
    Device::instance()->ethernetHandler()->disconnectFromDevice();
    m_startTimer.start(100);
    const WaitGuard guard(this);
    const int result = BaseDialog::exec();
    // Closed within the first 100 ms: no discovery after the dialog's end
    // (it would drop the unit just chosen).
    if (guard)
        m_startTimer.stop();
    return result;
}

bool Connectdialog::isInvalidIp(const QHostAddress &address)
{
    return isInvalidUnitAddress(address);
}

MG_Discover_Request_t Connectdialog::discoveryRequest()
{
    Device *device = Device::instance();
    UDPServer *server = device->udpServer();
    // Carry out a rebind still queued for the transport, so that the port
    // read below is the one the answers will come to.
    if (server->thread() == QThread::currentThread())
        QCoreApplication::sendPostedEvents(server, QEvent::MetaCall);
    else if (server->thread()->isRunning())
        QMetaObject::invokeMethod(server, [] {}, Qt::BlockingQueuedConnection);

    QHostAddress host = ui->wdgNicSel->currentAddressEntry().ip();
    if (host.protocol() != QAbstractSocket::IPv4Protocol)
        host = server->localAddress();
    return MG_Discover_Request_t::make(host, device->confighandler()->getSubnetMask(), server->localPort());
}

void Connectdialog::on_btnDiscoverIPs_clicked()
{
    // A discovery is running (the start timer, a change of interface or a
    // second click must not nest one in another).
    if (!ui->btnDiscoverIPs->isEnabled())
        return;
    ui->btnDiscoverIPs->setEnabled(false);
    ui->wdgNicSel->setEnabled(false);

    ui->tblFoundDevices->setEnabled(false);
    ui->tblFoundDevices->clearContents();
    ui->tblFoundDevices->setRowCount(0);
    m_selectedRow = -1;

    Device::instance()->ethernetHandler()->disconnectFromDevice();
    updateConnectButton();

    // The search shares the single answer wait with every request: one that
    // still waits (a sequence that fell due as the dialog opened, the
    // search of a dialog closed a moment ago) ends first.
    RequestGate::instance().whenFree(this, [this] { search(); });
}

void Connectdialog::search()
{
    const MG_Discover_Request_t request = discoveryRequest();
    const WaitGuard guard(this);
    m_searching = true;
    const errorCode_e result = Device::instance()->ethernetHandler()->mgGetMGDiscover(request);
    // The wait ran the event loop: the dialog may have been closed and
    // destroyed meanwhile.
    if (!guard)
        return;
    m_searching = false;
    if (m_finishPending) {
        // Connect, Cancel or Close came during the search: taken now.
        unsetCursor();
        setEnabled(true);
        emit DialogFinished();
        return;
    }
    if (result != ERR_OK) {
        ui->btnDiscoverIPs->setEnabled(true);
        ui->wdgNicSel->setEnabled(true);
        reportError(tr("Couldn't find any Devices. Errorcode: %1").arg(hexCode(result)));
        fitContents();
    }
}

void Connectdialog::finish(int result)
{
    dialogResult = result;
    if (m_searching) {
        // In sight until the search ends, and answered already.
        m_finishPending = true;
        setEnabled(false);
        setCursor(Qt::BusyCursor);
        return;
    }
    emit DialogFinished();
}

void Connectdialog::updateDiscoverList()
{
    ui->wdgNicSel->setEnabled(true);
    ui->btnDiscoverIPs->setEnabled(true);
    Device::instance()->ethernetHandler()->getDiscoverList(m_devices);
    if (m_devices.empty())
        return;
    QTableWidget *table = ui->tblFoundDevices;
    const bool blocked = table->blockSignals(true);
    m_columnCount = 3;
    table->setColumnCount(m_columnCount);
    for (const DiscoveredDevice &device : m_devices) {
        const QHostAddress ip = device.ipAddress();
        addDeviceRow(table->rowCount(), ip, macDashText(device), unitNameText(device),
                     m_wasConnected && ip == m_currentAddress);
    }
    table->setEnabled(true);
    table->blockSignals(blocked);
    fitContents();
}

void Connectdialog::fitContents()
{
    // Shown in the main window, the layout that holds the dialog sizes it:
    // a size of its own would reach past the room that layout gives it, and
    // the buttons at the bottom would be cut off. Only a dialog shown as a
    // window of its own takes the size its contents ask for.
    if (isWindow())
        adjustSize();
    else
        updateGeometry();
}

void Connectdialog::addDeviceRow(int row, const QHostAddress &ip, const QString &mac, const QString &name,
                                 bool current)
{
    QTableWidget *table = ui->tblFoundDevices;
    table->setRowCount(row + 1);
    const Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    auto *nameItem = new QTableWidgetItem(current ? m_linkIcon : m_noLinkIcon, name);
    nameItem->setToolTip(name);
    nameItem->setFlags(flags);
    auto *ipItem = new QTableWidgetItem(ip.toString());
    ipItem->setFlags(flags);
    auto *macItem = new QTableWidgetItem(mac);
    macItem->setFlags(flags);
    table->setItem(row, 0, nameItem);
    table->setItem(row, 1, ipItem);
    table->setItem(row, 2, macItem);
}

void Connectdialog::on_btnConnect_clicked()
{
    if (m_selectedRow >= ui->tblFoundDevices->rowCount())
        return;
    if (!m_manualSelected && m_selectedRow < 0) {
        reportError(tr("No IP/PPU selected."));
        return;
    }
    const bool manual = m_manualSelected;
    QHostAddress address;
    if (manual)
        address = manualUnitAddress(ui->leditManIP->text());
    else if (m_selectedRow < int(m_devices.size()))
        address = m_devices[size_t(m_selectedRow)].ipAddress();
    if (isInvalidIp(address)) {
        reportError(tr("Invalid IP detected."));
        return;
    }
    Device::instance()->ethernetHandler()->setTargetIP(address);

    const DiscoveredDevice record =
        manual ? manualDeviceRecord(address, ui->wdgNicSel->currentAddressEntry().netmask())
               : m_devices[size_t(m_selectedRow)];
    applyDeviceInfo(record);
    finish(1);
}

void Connectdialog::applyDeviceInfo(const DiscoveredDevice &record)
{
    Confighandler *config = Device::instance()->confighandler();
    config->setDevicename(unitNameText(record));
    config->setIpAddress(record.ipAddress(), false);
    config->setSubnetMask(record.subnetMask(), false);
    config->emitConfigChanged();
}

void Connectdialog::on_btnCancel_clicked()
{
    finish(-1);
}

void Connectdialog::on_btnClose_clicked()
{
    finish(-1);
}

void Connectdialog::on_tblFoundDevices_itemSelectionChanged()
{
    QTableWidget *table = ui->tblFoundDevices;
    const QFont bold(QStringLiteral("Arial-Bold"), headerPointSize(), 75);
    const QFont regular(QStringLiteral("Arial"), headerPointSize());
    table->horizontalHeader()->setFont(bold);
    for (int r = 0; r < table->rowCount(); ++r)
        for (int c = 0; c < table->columnCount(); ++c)
            if (QTableWidgetItem *item = table->item(r, c))
                item->setData(Qt::FontRole, regular);
    setManualEntrySelected(false);
    m_selectedRow = table->currentRow();
    if (m_selectedRow >= 0) {
        const bool blocked = table->blockSignals(true);
        table->selectRow(m_selectedRow);
        table->blockSignals(blocked);
        for (int c = 0; c < table->columnCount(); ++c)
            if (QTableWidgetItem *item = table->item(m_selectedRow, c))
                item->setData(Qt::FontRole, bold);
    }
    updateConnectButton();
}

void Connectdialog::leditManIP_editingFinished()
{
    const QString text = ui->leditManIP->text();
    if (text.trimmed().isEmpty()) {
        // Leaving an empty field is no typing error; it only gives up the
        // manual choice.
        setManualEntrySelected(false);
    } else if (isInvalidIp(manualUnitAddress(text))) {
        reportError(tr("Invalid IP detected."));
        ui->leditManIP->clear();
        setManualEntrySelected(false);
    } else {
        setManualEntrySelected(true);
    }
    clearTableSelection();
    updateConnectButton();
}

void Connectdialog::on_tblFoundDevices_itemDoubleClicked(QTableWidgetItem *item)
{
    ui->leditManIP->clear();
    const int row = item && item->tableWidget() == ui->tblFoundDevices ? item->row() : -1;
    ui->tblFoundDevices->setCurrentCell(row, 0);
    // Clearing the field above may have taken the choice away from the row.
    on_tblFoundDevices_itemSelectionChanged();
    on_btnConnect_clicked();
}

void Connectdialog::frameManIP_clicked()
{
    setManualEntrySelected(!m_manualSelected);
    if (m_manualSelected)
        clearTableSelection();
    updateConnectButton();
}

void Connectdialog::on_leditManIP_textChanged(QString arg1)
{
    on_leditManIP_textEdited(arg1);
}

void Connectdialog::on_leditManIP_textEdited(QString)
{
    if (translationInProgress)
        return;
    setManualEntrySelected(true);
    clearTableSelection();
    updateConnectButton();
}

void Connectdialog::setManualEntrySelected(bool on)
{
    ui->frameManIP->setProperty("isSelected", on);
    ui->frameManIP->update();
    polishWidget(ui->frameManIP);
    m_manualSelected = on;
}

void Connectdialog::updateConnectButton()
{
    ui->btnConnect->setEnabled(m_manualSelected || m_selectedRow >= 0);
}

void Connectdialog::clearTableSelection()
{
    QTableWidget *table = ui->tblFoundDevices;
    const QFont regular(QStringLiteral("Arial"), headerPointSize());
    for (int r = 0; r < table->rowCount(); ++r)
        for (int c = 0; c < table->columnCount(); ++c)
            if (QTableWidgetItem *item = table->item(r, c))
                item->setData(Qt::FontRole, regular);
    const bool blocked = table->blockSignals(true);
    table->clearSelection();
    m_selectedRow = -1;
    table->blockSignals(blocked);
}

void Connectdialog::ScaleFactorChange(double factor)
{
    const int s = qRound(24 * factor);
    ui->tblFoundDevices->setIconSize(QSize(s, s));
    ui->btnDiscoverIPs->setIconSize(QSize(s, s));
    // The close mark keeps the size the style gives it, times the factor.
    const int mark = qRound(style()->pixelMetric(QStyle::PM_ButtonIconSize, nullptr, ui->btnClose) * factor);
    ui->btnClose->setIconSize(QSize(mark, mark));
    QHeaderView *header = ui->tblFoundDevices->horizontalHeader();
    header->setDefaultSectionSize(int(header->defaultSectionSize() * factor));
    header->setMinimumSectionSize(int(header->minimumSectionSize() * factor));
    ui->tblFoundDevices->setMinimumWidth(header->defaultSectionSize() * m_columnCount
                                         + ui->tblFoundDevices->iconSize().width());
    BaseWidget::ScaleFactorChange(factor);
}

void Connectdialog::translateUiSlot(QWidget *)
{
    // Re-texting must not cost the engineer an address typed in already.
    const QString typed = ui->leditManIP->text();
    ui->retranslateUi(this);
    const bool blocked = ui->leditManIP->blockSignals(true);
    ui->leditManIP->setText(typed);
    ui->leditManIP->blockSignals(blocked);
    showConnectionState();
}
