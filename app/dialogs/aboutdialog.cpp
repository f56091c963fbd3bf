#include "aboutdialog.h"

#include <QDebug>
#include <QTimer>

#include "device.h"
#include "dialogframe.h"
#include "dialogsresources.h"
#include "productinfotext.h"
#include "scalinghandlercont.h"
#include "ui_aboutdialog.h"
#include "versioninfo.h"
#include "waitguard.h"

AboutDialog::AboutDialog(QWidget *parent)
    : BaseDialog(parent)
    , ui((initDialogsResources(), new Ui::AboutDialog))
{
    ui->setupUi(this);
    centreOnFirstScreen(this);
    scaleLogo(ui->lblLogo, ScalingHandlerCont::instance()->getScaleFactor());
}

AboutDialog::~AboutDialog()
{
    delete ui;
}

QVector<AboutDialog::Line> AboutDialog::infoLines(const VersionInfo &version, errorCode_e readResult,
                                                  const ProductInfoRecord &record, bool unitBlock)
{
    QVector<Line> lines;
    auto html = [&lines](const QString &text) { lines.append(Line{true, text}); };
    auto plain = [&lines](const QString &text) { lines.append(Line{false, text}); };

    html(QStringLiteral("<b>Service Setup Tool Korvantis</b>"));
    const QString toolVersion = version.versionString();
    plain(tr("Version: ") + toolVersion);
    plain(tr("Qt Version: ") + version.shortVersionString());
    if (toolVersion.contains(QLatin1Char('m'), Qt::CaseInsensitive))
        html(QStringLiteral("<font color='red'>") + tr("The software has been modified") + QStringLiteral("</font>"));
    html(tr("Running as release version"));
    plain(QStringLiteral("\n"));
    html(QStringLiteral("<b>") + tr("System") + QStringLiteral("</b>"));
    plain(tr("Hostname: ") + version.hostText(0));
    plain(tr("CPU Architecture: ") + version.hostText(1));
    plain(tr("Operating System Type: ") + version.hostText(2));
    plain(tr("Operating System Version: ") + version.hostText(3));
    plain(QStringLiteral("\n"));
    if (!unitBlock)
        return lines;
    if (readResult != ERR_OK) {
        html(QStringLiteral("<font color='red'>") + tr("Unable to read Korvan Tis Module Information")
             + QStringLiteral("</font><font color='black'></font>"));
        return lines;
    }
    html(QStringLiteral("<b>") + tr("Korvan Tis Module") + QStringLiteral("</b>"));
    plain(tr("Hardware Revision Module: ") + QString::number(record.hardwareRevision));
    plain(tr("Flash Protocol Version: ") + QString::number(record.flashProtocolVersion));
    plain(tr("Ethernet Protocol Version: ") + QString::number(record.ethernetProtocolVersion));
    plain(tr("Firmware Version: ") + firmwareVersionText(record));
    plain(tr("Firmware Modified: ") + (record.firmwareModified != 0 ? tr("yes") : tr("no")) + QStringLiteral("\n"));
    return lines;
}

QString AboutDialog::text() const
{
    return ui->txtInfo->toPlainText();
}

void AboutDialog::showEvent(QShowEvent *event)
{
    qDebug() << "About Dialog show Event";
    BaseDialog::showEvent(event);
    // Shown first, asked afterwards: the wait for the unit (up to three
    // seconds with its retries) must not hold back the dialog and its Close
    // button.
    QTimer::singleShot(0, this, &AboutDialog::fillText);
}

void AboutDialog::fillText()
{
    // A second show while the first one still waits for the unit must not
    // nest a second request into the first.
    if (m_filling)
        return;
    m_filling = true;
    ProductInfoRecord record;
    showLines(infoLines(VersionInfo(&record), ERR_OK, record, false));
    const WaitGuard guard(this);
    const errorCode_e result = Device::instance()->ethernetHandler()->readProductInfo(&record);
    // The wait ran the event loop: the dialog may have been closed and
    // destroyed meanwhile.
    if (!guard)
        return;
    m_filling = false;
    showLines(infoLines(VersionInfo(&record), result, record));
}

void AboutDialog::showLines(const QVector<Line> &lines)
{
    ui->txtInfo->clear();
    for (const Line &line : lines) {
        if (line.html)
            ui->txtInfo->appendHtml(line.text);
        else
            ui->txtInfo->appendPlainText(line.text);
    }
}

void AboutDialog::on_btnClose_clicked()
{
    // While the unit is still being asked, exec ends only once that wait is
    // over; the dialog goes out of sight at once all the same.
    if (m_filling)
        hide();
    emit DialogFinished();
}

void AboutDialog::translateUiSlot(QWidget *)
{
    ui->lblLogo->setText(QString());
    ui->btnClose->setText(tr("Close"));
}
