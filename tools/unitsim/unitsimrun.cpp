#include "unitsimrun.h"

#include <QCommandLineParser>

#include "unitsim.h"
#include "unitsimblocks.h"

namespace {
constexpr uint8_t kCmdManualRun = 0x23;
constexpr uint8_t kCmdStopDataRun = 0x26;
constexpr uint8_t kRefRunMode = 0x01;
} // namespace

UnitSimRun *UnitSimRun::of(UnitSim *sim)
{
    if (!sim)
        return nullptr;
    auto *run = sim->findChild<UnitSimRun *>(QStringLiteral("UnitSimRun"), Qt::FindDirectChildrenOnly);
    return run ? run : new UnitSimRun(sim);
}

UnitSimRun::UnitSimRun(UnitSim *sim)
    : QObject(sim)
    , m_sim(sim)
{
    setObjectName(QStringLiteral("UnitSimRun"));
    sim->setHandler(kCmdManualRun, [this](const UnitSimRequest &q, UnitSimReply &r) { onStart(q, r); });
    sim->setHandler(kCmdStopDataRun, [this](const UnitSimRequest &q, UnitSimReply &r) { onStop(q, r); });
}

void UnitSimRun::onStart(const UnitSimRequest &, UnitSimReply &)
{
    // A second start while running just goes on with the run.
    m_running = true;
    ++m_started;
    HearBeatMessage_t &hb = m_sim->heartbeat();
    hb.runControl = uint8_t(hb.runControl & ~(kManualRunAllowed | kResultReady));
    hb.dataControl = kDataBusy;
}

void UnitSimRun::onStop(const UnitSimRequest &, UnitSimReply &)
{
    if (!m_running)
        return;
    m_running = false;
    ++m_stopped;
    UnitSimBlocks *blocks = UnitSimBlocks::of(m_sim);
    if (m_leavesData)
        blocks->fillMeasurements();
    else
        blocks->clearMeasurements();
    HearBeatMessage_t &hb = m_sim->heartbeat();
    hb.runControl = uint8_t(hb.runControl | kManualRunAllowed);
    if ((hb.runControl & 0x0F) == kRefRunMode)
        hb.runControl = uint8_t(hb.runControl | kResultReady);
    hb.dataControl = kDataReady;
}

void UnitSimRun::addOptions(QCommandLineParser &parser)
{
    parser.addOption({QStringLiteral("run-without-data"),
                      QStringLiteral("a finished measurement run leaves no measurement data")});
}

bool UnitSimRun::applyOptions(const QCommandLineParser &parser, UnitSim *sim, QString *)
{
    of(sim)->setLeavesData(!parser.isSet(QStringLiteral("run-without-data")));
    return true;
}
