#include "aboutdialog.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QScreen>
#include <QSysInfo>

#include "ethernethandler.h"
#include "loaderresources.h"
#include "loaderversion.h"
#include "ui_aboutdialog.h"
#include "waitguard.h"

namespace loader {

namespace {
// One About window reads at a time: a second read nested in the wait of the
// first would be refused by the handler's lock for that command.
bool g_readBusy = false;
QList<QPointer<AboutDialog>> g_readWaiting;
} // namespace

AboutDialog::AboutDialog(EthernetHandler *handler, QWidget *parent)
    : QWidget(parent), ui((initResources(), new Ui::AboutDialog)), m_handler(handler)
{
    ui->setupUi(this);
    hide();
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QList<QScreen *> screens = QGuiApplication::screens();
        const QRect area = (screens.isEmpty() ? screen : screens.first())->geometry();
        move(area.center() - rect().center());
    }
}

AboutDialog::~AboutDialog() { delete ui; }

QString AboutDialog::infoText() const { return ui->txtInfo->toPlainText(); }

void AboutDialog::appendHtml(const QString &html) { ui->txtInfo->appendHtml(html); }

void AboutDialog::appendText(const QString &text) { ui->txtInfo->appendPlainText(text); }

void AboutDialog::showEvent(QShowEvent *event)
{
    ui->txtInfo->clear();
    appendHtml(QStringLiteral("<b>KorvantisLoader</b>"));
    appendText(QStringLiteral("Version: ") + loaderversion::versionText());
    appendText(QStringLiteral("Qt Version: %1.%2").arg(QT_VERSION_MAJOR).arg(QT_VERSION_MINOR));
    if (loaderversion::isModified())
        appendHtml(QStringLiteral("<font color='red'>The software has been modified</font>"));
    appendHtml(QStringLiteral("Running as release version"));
    appendText(QStringLiteral("\n"));
    appendHtml(QStringLiteral("<b>System</b>"));
    appendText(QStringLiteral("Hostname: ") + QSysInfo::machineHostName());
    appendText(QStringLiteral("Arch: ") + QSysInfo::currentCpuArchitecture());
    appendText(QStringLiteral("OS Type: ") + QSysInfo::kernelType() + QLatin1Char(' ') + QSysInfo::kernelVersion());
    appendText(QStringLiteral("OS Version: ") + QSysInfo::prettyProductName());
    ++m_fill;
    m_reading = false;
    if (m_handler && m_handler->hasTarget()) {
        appendText(QStringLiteral("\n"));
        appendHtml(QStringLiteral("<b>Hardware:</b>"));
        // Not from within the show event: Qt goes on showing this widget
        // after the event returns, so it must not be deleted during it.
        m_reading = true;
        QMetaObject::invokeMethod(this, &AboutDialog::readUnitVersions, Qt::QueuedConnection);
    }
    QWidget::showEvent(event);
}

void AboutDialog::startNextRead()
{
    while (!g_readBusy && !g_readWaiting.isEmpty()) {
        const QPointer<AboutDialog> next = g_readWaiting.takeFirst();
        if (next)
            next->readUnitVersions();
    }
}

void AboutDialog::readUnitVersions()
{
    const int fill = m_fill;
    // False once a newer show owns the text, or the window was hidden.
    const auto current = [this, fill] {
        if (fill == m_fill && isVisible())
            return true;
        if (fill == m_fill)
            m_reading = false;
        return false;
    };
    if (!m_reading || !current())
        return;
    if (g_readBusy) {
        g_readWaiting.append(this);
        return;
    }
    // Whichever way this ends, the next waiting window gets its turn.
    struct Turn
    {
        Turn() { g_readBusy = true; }
        ~Turn()
        {
            g_readBusy = false;
            if (!g_readWaiting.isEmpty())
                QTimer::singleShot(0, QCoreApplication::instance(), &AboutDialog::startNextRead);
        }
    } turn;
    const WaitGuard guard(this);
    HW_VersionInfo hw;
    const errorCode_e hwResult = m_handler->rdHWVersion(&hw);
    if (!guard || !current())
        return;
    showHardwareVersion(hwResult, hw);
    if (m_handler->hasTarget()) {
        appendText(QStringLiteral("\n"));
        SW_VersionInfo sw;
        const errorCode_e swResult = m_handler->rdFWVersion(&sw);
        if (!guard || !current())
            return;
        showBootloaderVersion(swResult, sw);
    }
    m_reading = false;
}

void AboutDialog::showHardwareVersion(errorCode_e result, const HW_VersionInfo &hw)
{
    if (result == ERR_OK) {
        appendText(QStringLiteral("P-Module: %1").arg(hw.pModule));
        appendText(QStringLiteral("I-Module: %1").arg(hw.iModule));
    } else {
        appendHtml(QStringLiteral("<font color='red'>Could not determine HW-Version</font>"));
    }
}

void AboutDialog::showBootloaderVersion(errorCode_e result, const SW_VersionInfo &sw)
{
    if (result != ERR_OK) {
        appendHtml(QStringLiteral("<b>Bootloader</b>"));
        appendHtml(
            QStringLiteral("<font color='red'>Warning: could not read bootloader version HW ID could be invalid</font>"));
        return;
    }
    appendHtml(QStringLiteral("<b>Bootloader</b>"));
    appendText(QStringLiteral("Version: %1.%2-%3")
                   .arg(sw.major)
                   .arg(sw.minor, 2, 10, QLatin1Char('0'))
                   .arg(sw.build, 8, 10, QLatin1Char('0')));
    appendText(QStringLiteral("Active Bootloader Nr: %1").arg(sw.flags & 0x01));
    if (sw.flags & 0x80)
        appendHtml(QStringLiteral("<font color='red'>The bootloader has been modified</font>"));
}

void AboutDialog::on_btnClose_clicked()
{
    hide();
    deleteLater();
}

} // namespace loader
