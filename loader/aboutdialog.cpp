#include "aboutdialog.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSysInfo>

#include "ethernethandler.h"
#include "loaderresources.h"
#include "loaderversion.h"
#include "ui_aboutdialog.h"

namespace loader {

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
    showHardwareVersion();
    showBootloaderVersion();
    QWidget::showEvent(event);
}

void AboutDialog::showHardwareVersion()
{
    if (!m_handler || !m_handler->hasTarget())
        return;
    appendText(QStringLiteral("\n"));
    appendHtml(QStringLiteral("<b>Hardware:</b>"));
    HW_VersionInfo hw;
    if (m_handler->rdHWVersion(&hw) == ERR_OK) {
        appendText(QStringLiteral("P-Module: %1").arg(hw.pModule));
        appendText(QStringLiteral("I-Module: %1").arg(hw.iModule));
    } else {
        appendHtml(QStringLiteral("<font color='red'>Could not determine HW-Version</font>"));
    }
}

void AboutDialog::showBootloaderVersion()
{
    if (!m_handler || !m_handler->hasTarget())
        return;
    appendText(QStringLiteral("\n"));
    SW_VersionInfo sw;
    if (m_handler->rdFWVersion(&sw) != ERR_OK) {
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
