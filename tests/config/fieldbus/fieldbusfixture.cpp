#include "requestlog.h"
#include "fieldbusfixture.h"

#include <QTest>

#include "metatypes.h"

bool FieldbusRig::start(const QHostAddress &unit, uint16_t networkType)
{
    registerMetaTypes();
    sim = std::make_unique<UnitSim>();
    sim->setAddress(unit);
    sim->setListenBroadcast(false);
    sim->setPushInterval(0);
    sim->setFieldbusModule(networkType);
    QString error;
    if (!sim->start(&error)) {
        qWarning("%s", qPrintable(error));
        return false;
    }
    LinkTimings timings;
    timings.baseTimeoutMs = 150;
    timings.heartbeatMs = 100;
    timings.watchdogMs = 600;
    timings.watchdogSingleCoreMs = 1000;
    Device *device = Device::instance();
    device->ethernetHandler()->setTimings(timings);
    device->startTransport();
    QObject::connect(handler(), &EthernetHandler::connectionPing, config(), &Confighandler::connectionsuccesfull,
                     Qt::UniqueConnection);
    handler()->setTargetIP(unit);
    return QTest::qWaitFor([] { return handler()->isConnected(); }, 20000);
}

QList<int> FieldbusRig::serviceActions() const
{
    return serviceActionsOf(*sim);
}

QList<int> serviceActionsOf(const UnitSim &unit)
{
    QList<int> out;
    for (const UnitSimRequest &r : withoutResends(unit.requestLog()))
        if (r.command == EthernetHandler::CmdServiceAction && !r.payload.isEmpty())
            out.append(uint8_t(r.payload.at(0)));
    return out;
}

int recordWritesOf(const UnitSim &unit)
{
    int n = 0;
    for (const UnitSimRequest &r : withoutResends(unit.requestLog()))
        n += r.command == EthernetHandler::CmdWriteParam && r.paramId == 0x3000;
    return n;
}

Messages::Messages(BaseWidget *widget)
{
    QObject::connect(widget, &BaseWidget::printNotifyBarErrorwrapper, &m_context,
                     [this](QString message, bool, bool) { errors.append(message); });
    QObject::connect(widget, &BaseWidget::printNotifyBarSuccesswrapper, &m_context,
                     [this](QString message, uint32_t) { successes.append(message); });
    QObject::connect(widget, &BaseWidget::printMessageboxwrapper, &m_context,
                     [this](QStringList names, QString title, QString message, QMessageBox::Icon, int32_t *answer) {
                         questions.append(names.join(QLatin1Char('/')) + QLatin1Char('|') + title + QLatin1Char('|')
                                          + message);
                         if (duringQuestion)
                             duringQuestion();
                         if (answer)
                             *answer = answers.isEmpty() ? -1 : answers.takeFirst();
                     });
}

ProgressLog::ProgressLog()
{
    EthernetHandler *h = FieldbusRig::handler();
    QObject::connect(h, &EthernetHandler::initProgressbar, &m_context, [this](QString title, uint32_t max) {
        events.append(QStringLiteral("init %1 %2").arg(title).arg(max));
    });
    QObject::connect(h, &EthernetHandler::updateProgressbar, &m_context,
                     [this](uint32_t value) { events.append(QStringLiteral("update %1").arg(value)); });
    QObject::connect(h, &EthernetHandler::deinitProgressbar, &m_context,
                     [this] { events.append(QStringLiteral("deinit")); });
}

void putText(QByteArray &record, int offset, int width, const QByteArray &text)
{
    record.replace(offset, width, QByteArray(width, '\0'));
    record.replace(offset, text.size(), text);
}

void put16(QByteArray &record, int offset, uint16_t value)
{
    record[offset] = char(value & 0xFF);
    record[offset + 1] = char(value >> 8);
}

QByteArray fullRecord(uint16_t type)
{
    QByteArray r(567, '\0');
    for (int i = 0; i < r.size(); ++i)
        r[i] = char(0x40 + (i * 7) % 61);  // what no field of the page covers keeps this
    const char ips[] = {10, 1, 2, 3, char(255), char(255), 0, 0, 10, 1, 2, char(254), 8, 8, 8, 8, 1, 1, 1, 1};
    r.replace(0, 20, QByteArray(ips, 20));
    putText(r, 0x014, 64, "ppu-line-3");
    putText(r, 0x054, 48, "plant.example");
    putText(r, 0x084, 64, "smtp.plant.example");
    putText(r, 0x0C4, 64, "service");
    putText(r, 0x104, 64, "s3cret");
    put16(r, 0x144, type);
    r[0x146] = 1;  // MDI 1: MDI
    r[0x147] = 2;  // MDI 2: MDIX
    r[0x148] = 3;  // 100 HDX
    r[0x149] = 4;  // 100 FX
    put16(r, 0x14A, 90);
    put16(r, 0x14C, 250);
    r[0x14E] = 1;  // big endian
    r[0x236] = 1;  // DHCP on
    return r;
}
