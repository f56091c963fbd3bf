#include "licensedialog.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTextCursor>

#include "licensetexts.h"
#include "loaderresources.h"
#include "ui_licensedialog.h"

namespace loader {

LicenseDialog::LicenseDialog(QWidget *parent) : QWidget(parent), ui((initResources(), new Ui::LicenseDialog))
{
    ui->setupUi(this);
    hide();
    const QList<QScreen *> screens = QGuiApplication::screens();
    if (!screens.isEmpty())
        move(screens.first()->geometry().center() - rect().center());

    const QPixmap logo = ui->lblLogo->pixmap(Qt::ReturnByValue);
    if (!logo.isNull()) {
        ui->lblLogo->setPixmap(
            logo.scaled(logo.width() / 2, logo.height() / 2, Qt::KeepAspectRatio, Qt::FastTransformation));
        ui->lblLogo->adjustSize();
    }
    adjustSize();

    for (const QString &folder : licensetexts::folders())
        ui->tabWdg->addTab(new QWidget(this), folder);
    on_tabWdg_currentChanged(ui->tabWdg->currentIndex());
}

LicenseDialog::~LicenseDialog() { delete ui; }

void LicenseDialog::on_btnClose_clicked() { hide(); }

void LicenseDialog::on_tabWdg_currentChanged(int index)
{
    // Plain text: licence texts hold "<...>" that must not be read as markup.
    ui->txtInfo->setPlainText(index >= 0 ? licensetexts::text(ui->tabWdg->tabText(index)) : QString());
    QTextCursor cursor = ui->txtInfo->textCursor();
    cursor.movePosition(QTextCursor::Start);
    ui->txtInfo->setTextCursor(cursor);
    ui->txtInfo->ensureCursorVisible();
}

} // namespace loader
